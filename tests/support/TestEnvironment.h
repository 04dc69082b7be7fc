#pragma once

#include <gtest/gtest.h>

#include <memory>

/// Gives every test a fresh set of the process-wide services (the program log in a
/// temporary folder, the event centre and the animation cache), installed as their shared
/// instances before the test and freed after it. So no state passes from one test to the
/// next, in any order, in one process.
class TestEnvironment final : public ::testing::EmptyTestEventListener
{
public:
    TestEnvironment();
    ~TestEnvironment() override;

    void OnTestStart(const ::testing::TestInfo& info) override;
    void OnTestEnd(const ::testing::TestInfo& info) override;

private:
    struct Services;
    std::unique_ptr<Services> m_services;
};
