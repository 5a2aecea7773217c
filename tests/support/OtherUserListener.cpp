#include "OtherUserListener.h"

#include <QDir>
#include <QFile>

#include <cstring>
#include <grp.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

OtherUserListener::OtherUserListener(const QString& serverName)
    : m_path(QDir::isAbsolutePath(serverName) ? serverName : QDir::tempPath() + '/' + serverName)
{
    if (::geteuid() != 0)
        return;
    const QByteArray native = QFile::encodeName(m_path);
    sockaddr_un address = {};
    address.sun_family = AF_UNIX;
    if (native.size() >= qsizetype(sizeof(address.sun_path)))
        return;
    std::memcpy(address.sun_path, native.constData(), native.size());
    // Made here, where the name's folder may be entered; the child takes the other account before
    // it listens, and a listening socket answers with the account it had then.
    const int listener = ::socket(AF_UNIX, SOCK_STREAM, 0);
    ::unlink(native.constData());
    if (listener < 0 ||
        ::bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof(address)) != 0) {
        if (listener >= 0)
            ::close(listener);
        return;
    }
    struct stat made;
    if (::stat(native.constData(), &made) == 0)
        m_inode = made.st_ino;
    int ready[2];
    int release[2];
    if (::pipe(ready) != 0 || ::pipe(release) != 0) {
        ::close(listener);
        return;
    }
    m_pid = ::fork();
    if (m_pid == 0) {
        // Only calls that are safe after fork() in a program with threads.
        ::close(ready[0]);
        ::close(release[1]);
        const char state = ::setgroups(0, nullptr) == 0 && ::setgid(nobody) == 0 &&
                                   ::setuid(nobody) == 0 && ::listen(listener, 8) == 0
                               ? 1
                               : 0;
        [[maybe_unused]] const auto told = ::write(ready[1], &state, 1);
        char byte;
        [[maybe_unused]] const auto released = ::read(release[0], &byte, 1);
        ::_exit(0);
    }
    ::close(listener);
    ::close(ready[1]);
    ::close(release[0]);
    m_release = release[1];
    char state = 0;
    m_listening = m_pid > 0 && ::read(ready[0], &state, 1) == 1 && state == 1;
    ::close(ready[0]);
}

OtherUserListener::~OtherUserListener()
{
    if (m_release >= 0)
        ::close(m_release);
    if (m_pid > 0)
        ::waitpid(m_pid, nullptr, 0);
    const QByteArray native = QFile::encodeName(m_path);
    struct stat now;
    if (m_inode != 0 && ::lstat(native.constData(), &now) == 0 && now.st_ino == m_inode)
        ::unlink(native.constData());
}
