#pragma once

#include "platform/LogManager.h"
#include "server/APIClient.h"
#include "server/APIError.h"
#include "support/FakeCompanionServer.h"

#include <QCoreApplication>
#include <QJsonDocument>
#include <QStringList>

#include <QCoroTask>

#include <gtest/gtest.h>

#include <algorithm>
#include <exception>
#include <memory>
#include <optional>
#include <type_traits>

/// How a server call ended: its value, or the error it threw.
template<typename T>
struct Outcome
{
    std::conditional_t<std::is_void_v<T>, bool, std::optional<T>> value {};
    std::exception_ptr error;

    [[nodiscard]] bool ok() const { return !error; }
    /// The APIError thrown, or nothing when the call succeeded or threw something else.
    [[nodiscard]] std::optional<APIError> apiError() const
    {
        if (!error)
            return std::nullopt;
        try {
            std::rethrow_exception(error);
        } catch (const APIError& e) {
            return e;
        } catch (...) {
            return std::nullopt;
        }
    }
};

namespace detail {
template<typename T>
QCoro::Task<> capture(QCoro::Task<T> task, Outcome<T>* out)
{
    try {
        if constexpr (std::is_void_v<T>) {
            co_await task;
            out->value = true;
        } else {
            out->value.emplace(co_await task);
        }
    } catch (...) {
        out->error = std::current_exception();
    }
}
} // namespace detail

/// Runs the event loop until the call has ended; the call never escapes as an exception.
template<typename T>
Outcome<T> await(QCoro::Task<T>&& task)
{
    Outcome<T> out;
    QCoro::Task<> wrapper = detail::capture(std::move(task), &out);
    QCoro::waitFor(wrapper);
    return out;
}

/// The program-log lines written since the capture began. The log keeps only its newest
/// lines, so the capture finds where it began by the last lines it saw, not by position.
class LogCapture
{
public:
    LogCapture()
    {
        QCoreApplication::processEvents();
        const auto logs = LogManager::shared().logs();
        m_seen = logs.mid(std::max<qsizetype>(0, logs.size() - 3));
    }

    /// Messages of one category ("API", "User", "Friend"), or of all when empty.
    [[nodiscard]] QStringList lines(const QString& category = {}) const
    {
        QCoreApplication::processEvents();
        const auto logs = LogManager::shared().logs();
        QStringList out;
        for (qsizetype i = start(logs); i < logs.size(); ++i) {
            if (category.isEmpty() || logs[i].category == category)
                out.append(logs[i].message);
        }
        return out;
    }
    [[nodiscard]] bool has(const QString& line, const QString& category = {}) const
    {
        return lines(category).contains(line);
    }
    [[nodiscard]] bool anyContains(const QString& text) const
    {
        for (const QString& l : lines())
            if (l.contains(text))
                return true;
        return false;
    }

private:
    static bool same(const LogManager::LogEntry& a, const LogManager::LogEntry& b)
    {
        return a.timestamp == b.timestamp && a.category == b.category && a.message == b.message;
    }

    [[nodiscard]] qsizetype start(const QList<LogManager::LogEntry>& logs) const
    {
        if (m_seen.isEmpty())
            return 0;
        for (qsizetype end = logs.size(); end >= m_seen.size(); --end) {
            bool match = true;
            for (qsizetype k = 0; k < m_seen.size() && match; ++k)
                match = same(logs[end - m_seen.size() + k], m_seen[k]);
            if (match)
                return end;
        }
        return 0; // everything seen has scrolled out: all lines are new
    }

    QList<LogManager::LogEntry> m_seen;
};

/// The request's shape on the wire: method, target, JSON body (none for std::nullopt), the
/// JSON content type, and the signed-in user's id header (absent for "").
inline void expectRequest(const RecordedRequest& r, const QByteArray& method, const QByteArray& target,
    const std::optional<QJsonObject>& body, const QByteArray& userId)
{
    EXPECT_EQ(r.method, method);
    EXPECT_EQ(r.target, target);
    EXPECT_EQ(r.header("Content-Type"), "application/json");
    EXPECT_EQ(r.hasHeader("X-User-Id"), !userId.isEmpty());
    EXPECT_EQ(r.header("X-User-Id"), userId);
    if (body)
        EXPECT_EQ(QJsonDocument::fromJson(r.body).object(), *body) << r.body.toStdString();
    else
        EXPECT_TRUE(r.body.isEmpty()) << r.body.toStdString();
}

/// A client talking to a fresh fake server, with a settable signed-in user.
class ServerFixture : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(server.start());
        client = makeClient(server.baseUrl());
    }

    std::unique_ptr<APIClient> makeClient(const QString& base, int timeoutMs = APIClient::transferTimeoutMs)
    {
        return std::make_unique<APIClient>(
            base, [this] { return signedInUser; }, timeoutMs);
    }

    [[nodiscard]] QString url(const QString& pathAndQuery) const { return server.baseUrl() + pathAndQuery; }

    FakeCompanionServer server;
    std::optional<qint64> signedInUser;
    std::unique_ptr<APIClient> client;
};
