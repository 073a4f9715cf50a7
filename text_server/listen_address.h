#pragma once

#include <sys/socket.h>

#include <string>

namespace dotwall::text_server {

// Where the server takes connections: an IPv4 or IPv6 address and a TCP port.
struct ListenAddress {
    sockaddr_storage socketAddress{};
    socklen_t length = 0;
    std::string text;  // as a person writes it: 127.0.0.1:13666, [::1]:13666

    // Whether only programs on this machine reach it (127.0.0.0/8, ::1).
    bool loopback() const;
};

inline constexpr const char* kDefaultListenAddress = "127.0.0.1:13666";

// "ADDRESS:PORT": an IPv4 address, an IPv6 address (in brackets: [::1]:13666), or
// localhost (127.0.0.1), and a port from 1 to 65535. Raises WrongUsage naming the text.
ListenAddress parseListenAddress(const std::string& text);

}  // namespace dotwall::text_server
