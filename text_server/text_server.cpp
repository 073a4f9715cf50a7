#include "text_server/text_server.h"

#include <poll.h>
#include <pthread.h>
#include <sys/eventfd.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <string>
#include <vector>

#include "base/runtime_error.h"
#include "text_server/client_connection.h"
#include "text_server/stroke_schedule.h"

namespace dotwall::text_server {

namespace {

using Clock = std::chrono::steady_clock;
using text_screens::ClientId;

// The screens are drawn 8 times a second.
constexpr auto kStrokePeriod = std::chrono::milliseconds(125);
// How long a closing connection waits for its client to close its end.
constexpr auto kClosingTime = std::chrono::seconds(2);

RuntimeError cannotListen(const ListenAddress& address, int error) {
    return RuntimeError(ErrorKind::NetworkFailed,
                        "Cannot listen on " + address.text + ": " + std::strerror(error) + ".");
}

int listenOn(const ListenAddress& address) {
    const int listener =
        socket(address.socketAddress.ss_family, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (listener < 0) {
        throw cannotListen(address, errno);
    }
    const int on = 1;  // a restart takes the port while its last connections linger
    setsockopt(listener, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
    if (bind(listener, reinterpret_cast<const sockaddr*>(&address.socketAddress), address.length) !=
            0 ||
        listen(listener, SOMAXCONN) != 0) {
        const int error = errno;
        close(listener);
        throw cannotListen(address, error);
    }
    return listener;
}

}  // namespace

// The server's thread: the sessions, the canvas and the connections are its own.
class TextServer::Loop {
  public:
    Loop(const ServerSettings& settings, int listener, int wake, Stroked stroked)
        : mostClients_(settings.mostClients),
          listener_(listener),
          wake_(wake),
          stroked_(std::move(stroked)),
          canvas_(settings.panelWidth, settings.panelHeight, settings.cell),
          sessions_(settings.cell, canvas_.columns(), canvas_.rows(), settings.limits) {}

    // Serves until the wake descriptor is written to.
    void run() {
        std::vector<pollfd> polled;
        while (true) {
            polled.clear();
            polled.push_back({wake_, POLLIN, 0});
            polled.push_back({acceptingPaused_ ? -1 : listener_, POLLIN, 0});
            for (const Client& client : clients_) {
                polled.push_back(
                    {client.connection->socket(),
                     static_cast<short>(POLLIN | (client.connection->sending() ? POLLOUT : 0)), 0});
            }
            const auto wait =
                std::chrono::ceil<std::chrono::milliseconds>(schedule_.due() - Clock::now());
            if (poll(polled.data(), polled.size(),
                     static_cast<int>(std::max<long>(wait.count(), 0))) < 0 &&
                errno != EINTR) {
                throw RuntimeError(ErrorKind::NetworkFailed,
                                   std::string("The server cannot wait for its clients: ") +
                                       std::strerror(errno) + ".");
            }
            if (polled[0].revents != 0) {
                return;
            }
            // The clients polled, before those accepted now.
            for (std::size_t i = 0; i + 2 < polled.size(); ++i) {
                if (polled[i + 2].revents != 0) {
                    serve(clients_[i], polled[i + 2].revents);
                }
            }
            const Clock::time_point now = Clock::now();
            std::erase_if(clients_, [&](Client& client) {
                return client.connection == nullptr || client.connection->closed(now);
            });
            if (polled[1].revents != 0) {
                accept();
            }
            if (now >= schedule_.due()) {
                stroke();
                schedule_.advance(now);
                acceptingPaused_ = false;
            }
        }
    }

  private:
    struct Client {
        std::unique_ptr<ClientConnection> connection;  // null once closed
        ClientId id = 0;
        bool inSession = true;
    };

    void accept() {
        while (true) {
            const int socket = accept4(listener_, nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC);
            if (socket < 0) {
                // Out of descriptors or memory: the waiting connections stay queued.
                acceptingPaused_ =
                    errno == EMFILE || errno == ENFILE || errno == ENOBUFS || errno == ENOMEM;
                if (errno == EAGAIN || errno == EWOULDBLOCK || acceptingPaused_) {
                    return;
                }
                continue;  // one connection failed before it was taken
            }
            auto connection = std::make_unique<ClientConnection>(socket);
            if (static_cast<int>(clients_.size()) >= mostClients_) {
                connection->queue("huh? Too many clients: the most is " +
                                  std::to_string(mostClients_));
                connection->send();
                continue;
            }
            clients_.push_back({std::move(connection), sessions_.connect()});
        }
    }

    void serve(Client& client, short events) {
        ClientConnection& connection = *client.connection;
        if ((events & POLLOUT) != 0 && !connection.send()) {
            return disconnect(client);
        }
        if ((events & (POLLIN | POLLHUP | POLLERR)) == 0) {
            return;
        }
        bool goodbye = false;
        bool unread = false;  // the client left more replies unread than it may
        const ClientConnection::Received received = connection.receive([&](std::string_view line) {
            const text_screens::LineAnswer answer = sessions_.receive(client.id, line);
            goodbye = answer.closeConnection;
            client.inSession = !goodbye;  // `bye` ended the session
            for (const std::string& reply : answer.replies) {
                unread = unread || !connection.queue(reply);
            }
            return !goodbye && !unread;
        });
        if (received == ClientConnection::Received::Gone || unread) {
            return disconnect(client);
        }
        if (received == ClientConnection::Received::TooLong) {
            connection.queue("huh? The line is longer than " +
                             std::to_string(ClientConnection::kMostLineBytes) +
                             " bytes; closing the connection");
            leaveSession(client);
        }
        if (received == ClientConnection::Received::TooLong || goodbye) {
            connection.closeAfterSending(Clock::now() + kClosingTime);
        }
        if (!connection.send()) {
            disconnect(client);
        }
    }

    void leaveSession(Client& client) {
        if (client.inSession) {
            sessions_.disconnect(client.id);
            client.inSession = false;
        }
    }

    // Closes the connection at once, what waits for it dropped.
    void disconnect(Client& client) {
        leaveSession(client);
        client.connection.reset();
    }

    void stroke() {
        for (const text_screens::ClientNotice& notice : sessions_.stroke(canvas_)) {
            const auto client = std::ranges::find(clients_, notice.client, &Client::id);
            if (client != clients_.end() && client->connection != nullptr &&
                !(client->connection->queue(notice.line) && client->connection->send())) {
                disconnect(*client);
            }
        }
        stroked_(canvas_);
    }

    int mostClients_;
    int listener_;
    int wake_;
    Stroked stroked_;
    text_display::TextCanvas canvas_;
    text_screens::LcdSessions sessions_;
    std::vector<Client> clients_;
    StrokeSchedule schedule_{kStrokePeriod, Clock::now()};
    bool acceptingPaused_ = false;  // the system had no descriptor left; until the next stroke
};

TextServer::TextServer(const ServerSettings& settings, Stroked stroked, Failed failed)
    : listener_(listenOn(settings.address)), wake_(eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK)) {
    try {
        if (wake_ < 0) {
            throw RuntimeError(ErrorKind::NetworkFailed,
                               std::string("The server cannot make its wake-up descriptor: ") +
                                   std::strerror(errno) + ".");
        }
        loop_ = std::make_unique<Loop>(settings, listener_, wake_, std::move(stroked));
    } catch (...) {
        close(listener_);
        close(wake_);
        throw;
    }
    thread_ = std::thread([this, failed = std::move(failed)] {
        // Named, so that top -H and /proc tell its processor time from the stream's.
        pthread_setname_np(pthread_self(), "text-server");
        try {
            loop_->run();
        } catch (...) {
            failed(std::current_exception());
        }
    });
}

TextServer::~TextServer() {
    const std::uint64_t one = 1;
    if (write(wake_, &one, sizeof one) < 0) {
        // An eventfd takes a write until its count is full, which one stop never fills.
    }
    thread_.join();
    loop_.reset();
    close(listener_);
    close(wake_);
}

}  // namespace dotwall::text_server
