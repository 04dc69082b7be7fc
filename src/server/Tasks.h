#pragma once

#include "platform/LogManager.h"
#include "server/APIError.h"

#include <QString>

#include <QCoroTask>

#include <exception>
#include <utility>

/// The one way to start a coroutine from a slot or a timer without awaiting it. A task
/// nobody awaits would swallow its exception; this logs what escapes under `category`.
namespace Tasks {

namespace detail {

template<typename T>
QCoro::Task<> runDetached(QCoro::Task<T> task, QString category, QString what)
{
    try {
        co_await task;
    } catch (const std::exception& error) {
        LogManager::log(QStringLiteral("❌ ") + what + QStringLiteral(" 失败: ") + APIError::describe(error), category);
    } catch (...) {
        LogManager::log(QStringLiteral("❌ ") + what + QStringLiteral(" 失败: 未知错误"), category);
    }
}

} // namespace detail

/// Starts `task` (already running up to its first suspension) and lets it finish on its own.
template<typename T>
void start(QCoro::Task<T>&& task, const QString& category, const QString& what)
{
    detail::runDetached(std::move(task), category, what);
}

} // namespace Tasks
