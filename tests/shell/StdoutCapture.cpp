#include "StdoutCapture.h"

#include <QByteArray>

#include <cstdio>
#include <cstdlib>
#include <unistd.h>

StdoutCapture::StdoutCapture()
{
    std::fflush(stdout);
    char name[] = "/tmp/tamsel-stdout-XXXXXX";
    m_fileFd = ::mkstemp(name);
    ::unlink(name);
    m_savedFd = ::dup(STDOUT_FILENO);
    ::dup2(m_fileFd, STDOUT_FILENO);
}

StdoutCapture::~StdoutCapture()
{
    std::fflush(stdout);
    ::dup2(m_savedFd, STDOUT_FILENO);
    ::close(m_savedFd);
    ::close(m_fileFd);
}

QString StdoutCapture::text() const
{
    std::fflush(stdout);
    QByteArray bytes;
    char buffer[4096];
    ::lseek(m_fileFd, 0, SEEK_SET);
    for (ssize_t n; (n = ::pread(m_fileFd, buffer, sizeof buffer, static_cast<off_t>(bytes.size()))) > 0;)
        bytes.append(buffer, n);
    return QString::fromUtf8(bytes);
}
