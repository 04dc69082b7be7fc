#pragma once

#include <QString>

/// Sends standard output into a temporary file while it lives, for checking the
/// diagnostic lines that go nowhere else.
class StdoutCapture final
{
public:
    StdoutCapture();
    ~StdoutCapture();
    StdoutCapture(const StdoutCapture&) = delete;
    StdoutCapture& operator=(const StdoutCapture&) = delete;

    /// Everything written since the capture began.
    [[nodiscard]] QString text() const;

private:
    int m_savedFd = -1;
    int m_fileFd = -1;
};
