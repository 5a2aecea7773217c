#pragma once

#include <QString>

#include <sys/types.h>

// A process of another account ("nobody") listening on a local socket name, as a stranger on the
// same machine could wait at the name where the program looks for its running instance. A
// relative name lies in the temporary folder, as Qt puts it. Only root can run a process as
// another account: elsewhere isListening() is false and the test skips.
class OtherUserListener
{
public:
    static constexpr uid_t nobody = 65534;

    explicit OtherUserListener(const QString& serverName);
    ~OtherUserListener(); // ends the process and removes its name, unless another took it
    OtherUserListener(const OtherUserListener&) = delete;
    OtherUserListener& operator=(const OtherUserListener&) = delete;

    bool isListening() const { return m_listening; }

private:
    QString m_path;
    ino_t m_inode = 0;
    pid_t m_pid = -1;
    int m_release = -1;
    bool m_listening = false;
};
