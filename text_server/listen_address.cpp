#include "text_server/listen_address.h"

#include <arpa/inet.h>
#include <netinet/in.h>

#include <cstdint>
#include <optional>

#include "base/runtime_error.h"
#include "base/whole_number.h"

namespace dotwall::text_server {

namespace {

RuntimeError notAnAddress(const std::string& text) {
    return RuntimeError(ErrorKind::WrongUsage,
                        "--listen takes ADDRESS:PORT (an IPv4 address, an IPv6 address in "
                        "brackets or localhost, and a port from 1 to 65535), not \"" +
                            text + "\"");
}

}  // namespace

bool ListenAddress::loopback() const {
    if (socketAddress.ss_family == AF_INET) {
        const auto& ipv4 = reinterpret_cast<const sockaddr_in&>(socketAddress);
        return (ntohl(ipv4.sin_addr.s_addr) >> 24) == 127;
    }
    const auto& ipv6 = reinterpret_cast<const sockaddr_in6&>(socketAddress);
    return IN6_IS_ADDR_LOOPBACK(&ipv6.sin6_addr);
}

ListenAddress parseListenAddress(const std::string& text) {
    const std::size_t colon = text.rfind(':');
    if (colon == std::string::npos) {
        throw notAnAddress(text);
    }
    std::string host = text.substr(0, colon);
    const std::string portText = text.substr(colon + 1);
    const bool bracketed = host.size() >= 2 && host.front() == '[' && host.back() == ']';
    if (bracketed) {
        host = host.substr(1, host.size() - 2);
    }
    const std::optional<long> port = wholeNumber(portText, 1, 65535);
    if (!port) {
        throw notAnAddress(text);
    }
    ListenAddress address;
    if (host == "localhost") {
        host = "127.0.0.1";
    }
    auto& ipv4 = reinterpret_cast<sockaddr_in&>(address.socketAddress);
    auto& ipv6 = reinterpret_cast<sockaddr_in6&>(address.socketAddress);
    if (!bracketed && inet_pton(AF_INET, host.c_str(), &ipv4.sin_addr) == 1) {
        ipv4.sin_family = AF_INET;
        ipv4.sin_port = htons(static_cast<std::uint16_t>(*port));
        address.length = sizeof ipv4;
        address.text = host + ":" + std::to_string(*port);
    } else if (bracketed && inet_pton(AF_INET6, host.c_str(), &ipv6.sin6_addr) == 1) {
        ipv6.sin6_family = AF_INET6;
        ipv6.sin6_port = htons(static_cast<std::uint16_t>(*port));
        address.length = sizeof ipv6;
        address.text = "[" + host + "]:" + std::to_string(*port);
    } else {
        throw notAnAddress(text);
    }
    return address;
}

}  // namespace dotwall::text_server
