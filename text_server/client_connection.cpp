#include "text_server/client_connection.h"

#include <sys/socket.h>
#include <unistd.h>

#include <array>
#include <cerrno>

namespace dotwall::text_server {

namespace {

// One read takes at most this much, so that a client that sends without pause gets its turn
// like the others and no more.
constexpr std::size_t kReadBytes = 16 * 1024;

}  // namespace

ClientConnection::~ClientConnection() {
    close(socket_);
}

ClientConnection::Received ClientConnection::receive(
    const std::function<bool(std::string_view line)>& line) {
    std::array<char, kReadBytes> buffer;
    const ssize_t got = recv(socket_, buffer.data(), buffer.size(), 0);
    if (got < 0 && (errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR)) {
        return Received::Open;
    }
    if (got <= 0) {
        inputEnded_ = true;
        return Received::Gone;
    }
    if (closing()) {
        return Received::Open;  // dropped
    }
    std::string_view rest(buffer.data(), static_cast<std::size_t>(got));
    for (std::size_t end = rest.find('\n'); end != std::string_view::npos; end = rest.find('\n')) {
        if (partLine_.size() + end > kMostLineBytes) {
            return Received::TooLong;
        }
        partLine_.append(rest.substr(0, end));
        rest.remove_prefix(end + 1);
        const bool more = line(partLine_);
        partLine_.clear();
        if (!more) {
            return Received::Open;
        }
    }
    if (partLine_.size() + rest.size() > kMostLineBytes) {
        return Received::TooLong;
    }
    partLine_.append(rest);
    return Received::Open;
}

bool ClientConnection::queue(std::string_view line) {
    if (pending_.size() - sent_ + line.size() + 1 > kMostPendingBytes) {
        return false;
    }
    pending_.erase(0, sent_);
    sent_ = 0;
    pending_.append(line).push_back('\n');
    return true;
}

bool ClientConnection::send() {
    while (sending()) {
        const ssize_t put = ::send(socket_, pending_.data() + sent_, pending_.size() - sent_,
                                   MSG_NOSIGNAL | MSG_DONTWAIT);
        if (put < 0) {
            return errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR;
        }
        sent_ += static_cast<std::size_t>(put);
    }
    return true;
}

void ClientConnection::closeAfterSending(std::chrono::steady_clock::time_point deadline) {
    closingDeadline_ = deadline;
}

bool ClientConnection::closed(std::chrono::steady_clock::time_point now) {
    if (!closingDeadline_) {
        return false;
    }
    if (!sending() && !shutForWriting_) {
        shutdown(socket_, SHUT_WR);
        shutForWriting_ = true;
    }
    return inputEnded_ || now >= *closingDeadline_;
}

}  // namespace dotwall::text_server
