#pragma once

#include <chrono>
#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace dotwall::text_server {

// One client's connection: its socket (non-blocking, closed with this), what it sent cut into
// lines, and the lines waiting to go out to it, both bounded, so that no client can make the
// server hold more than a few kilobytes for it or wait for it.
class ClientConnection {
  public:
    // The longest line a client may send, without its newline.
    static constexpr std::size_t kMostLineBytes = 8192;
    // The most output waiting for a client that does not read.
    static constexpr std::size_t kMostPendingBytes = 64 * 1024;

    explicit ClientConnection(int socket) : socket_(socket) {}
    ~ClientConnection();
    ClientConnection(const ClientConnection&) = delete;
    ClientConnection& operator=(const ClientConnection&) = delete;

    int socket() const { return socket_; }

    enum class Received {
        Open,     // read what there was; more may come
        Gone,     // the client closed the connection or it failed; a part line is dropped
        TooLong,  // a line longer than kMostLineBytes
    };
    // Reads once what the socket holds and hands `line` each whole line, without its newline,
    // until it returns false (the client said goodbye). A closing connection's input is
    // dropped.
    Received receive(const std::function<bool(std::string_view line)>& line);

    // Queues a line for the client and its newline; false when the client has not read so
    // much that the line does not fit.
    bool queue(std::string_view line);
    // Sends what is queued as far as the socket takes it; false when the connection failed.
    bool send();
    bool sending() const { return sent_ < pending_.size(); }

    // After its last lines the connection is shut for writing, and what the client still
    // sends is read and dropped until it closes its end or `deadline` passes, so that its
    // system does not throw the last lines away (as it would at a close with unread input).
    void closeAfterSending(std::chrono::steady_clock::time_point deadline);
    bool closing() const { return closingDeadline_.has_value(); }
    // Whether a closing connection is done: its output sent and its input ended, or past the
    // deadline.
    bool closed(std::chrono::steady_clock::time_point now);

  private:
    int socket_;
    std::string partLine_;
    std::string pending_;
    std::size_t sent_ = 0;
    bool shutForWriting_ = false;
    bool inputEnded_ = false;
    std::optional<std::chrono::steady_clock::time_point> closingDeadline_;
};

}  // namespace dotwall::text_server
