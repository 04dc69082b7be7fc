#pragma once

#include <gtest/gtest.h>

#include <QFont>
#include <QPalette>
#include <QString>

#include <memory>
#include <optional>

class QStyle;

/// Gives every test a fresh set of the process-wide services (the program log in a
/// temporary folder, the event centre and the animation cache), installed as their shared
/// instances before the test and freed after it. So no state passes from one test to the
/// next, in any order, in one process. After each test it also puts back the application's
/// palette, font and style and hides the windows left open.
class TestEnvironment final : public ::testing::EmptyTestEventListener
{
public:
    TestEnvironment();
    ~TestEnvironment() override;

    void OnTestStart(const ::testing::TestInfo& info) override;
    void OnTestEnd(const ::testing::TestInfo& info) override;

private:
    void restoreApplication();

    struct Services;
    std::unique_ptr<Services> m_services;
    /// The application's looks when the first test started.
    struct Looks
    {
        QPalette palette;
        QFont font;
        const QStyle* style;
        QString styleName;
    };
    std::optional<Looks> m_looks;
};
