#include "support/tcp_proxy.h"

#include "support/back_office.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <stdexcept>

namespace pos::test {
namespace {

int loopbackSocket(int port, bool listening)
{
    int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<std::uint16_t>(port));
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    auto* raw = reinterpret_cast<sockaddr*>(&address);
    const bool ok = listening ? ::bind(fd, raw, sizeof address) == 0 && ::listen(fd, 16) == 0
                              : ::connect(fd, raw, sizeof address) == 0;
    if (!ok) {
        ::close(fd);
        return -1;
    }
    return fd;
}

bool sendAll(int fd, const std::string& bytes)
{
    for (std::size_t sent = 0; sent < bytes.size();) {
        const ssize_t n = ::send(fd, bytes.data() + sent, bytes.size() - sent, MSG_NOSIGNAL);
        if (n <= 0)
            return false;
        sent += static_cast<std::size_t>(n);
    }
    return true;
}

}  // namespace

TcpProxy::TcpProxy()
{
    const std::string cluster = testServerLogin().serverName;
    const auto colon = cluster.rfind(':');
    if (colon == std::string::npos || cluster.substr(0, colon) != "127.0.0.1")
        throw std::runtime_error("the proxy relays to a test cluster on 127.0.0.1:port, not " + cluster);
    targetPort_ = std::stoi(cluster.substr(colon + 1));
    listener_ = loopbackSocket(0, true);
    sockaddr_in bound{};
    socklen_t length = sizeof bound;
    if (listener_ < 0 || ::getsockname(listener_, reinterpret_cast<sockaddr*>(&bound), &length) != 0)
        throw std::runtime_error("the proxy cannot listen");
    port_ = ntohs(bound.sin_port);
    thread_ = std::thread([this] { run(); });
}

TcpProxy::~TcpProxy()
{
    stop_ = true;
    thread_.join();
    closeAll();
    ::close(listener_);
}

std::string TcpProxy::address() const { return "127.0.0.1:" + std::to_string(port_); }

void TcpProxy::failNow(Fault fault)
{
    {
        std::lock_guard lock(mutex_);
        pending_ = fault;
    }
    // The next statement of the test must meet the fault.
    for (;;) {
        {
            std::lock_guard lock(mutex_);
            if (!pending_)
                return;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
}

void TcpProxy::failOn(std::string marker, Fault fault, Moment moment)
{
    std::lock_guard lock(mutex_);
    trigger_ = Trigger{std::move(marker), fault, moment};
}

void TcpProxy::run()
{
    while (!stop_) {
        std::vector<pollfd> fds{{listener_, POLLIN, 0}};
        if (!blackHoled_) {
            for (const Pair& p : pairs_) {
                fds.push_back({p.client, POLLIN, 0});
                fds.push_back({p.server, POLLIN, 0});
            }
        }
        // A short wait, so faults the test asks for take effect at once.
        ::poll(fds.data(), fds.size(), 10);
        {
            std::lock_guard lock(mutex_);
            if (pending_) {
                apply(*pending_);
                pending_.reset();
                continue;
            }
        }
        if (fds[0].revents & POLLIN)
            accept();
        for (std::size_t i = 1; i < fds.size() && !blackHoled_; ++i) {
            if (!(fds[i].revents & (POLLIN | POLLHUP | POLLERR)))
                continue;
            const std::size_t index = (i - 1) / 2;
            if (index >= pairs_.size())
                break;  // a cut closed the pairs under this poll
            Pair& pair = pairs_[index];
            if (!relay(pair, fds[i].fd == pair.client)) {
                ::close(pair.client);
                ::close(pair.server);
                pairs_.erase(pairs_.begin() + static_cast<std::ptrdiff_t>(index));
                break;  // the indices of the remaining pairs moved; poll again
            }
        }
    }
}

void TcpProxy::accept()
{
    const int client = ::accept(listener_, nullptr, nullptr);
    if (client < 0)
        return;
    if (refusing_) {
        ::close(client);
        return;
    }
    if (blackHoled_) {
        held_.push_back(client);
        return;
    }
    const int server = loopbackSocket(targetPort_, false);
    if (server < 0) {
        ::close(client);
        return;
    }
    pairs_.push_back({client, server, {}});
}

bool TcpProxy::relay(Pair& pair, bool toServer)
{
    char buffer[65536];
    const ssize_t n = ::recv(toServer ? pair.client : pair.server, buffer, sizeof buffer, 0);
    if (n <= 0)
        return false;
    const std::string chunk(buffer, static_cast<std::size_t>(n));
    if (!toServer)
        return sendAll(pair.client, chunk);

    std::optional<Trigger> met;
    {
        std::lock_guard lock(mutex_);
        if (trigger_ && markerIn(pair, chunk)) {
            met = trigger_;
            trigger_.reset();
        }
    }
    if (met && met->moment == Moment::BeforeForwarding) {
        apply(met->fault);
        return true;
    }
    const bool sent = sendAll(pair.server, chunk);
    if (met)
        apply(met->fault);
    return sent || met;
}

bool TcpProxy::markerIn(Pair& pair, const std::string& chunk)
{
    const std::string seen = pair.sentTail + chunk;
    const std::size_t keep = trigger_->marker.size() - 1;
    pair.sentTail = seen.size() > keep ? seen.substr(seen.size() - keep) : seen;
    return seen.find(trigger_->marker) != std::string::npos;
}

void TcpProxy::apply(Fault fault)
{
    fired_ = true;
    if (fault == Fault::BlackHole)
        blackHoled_ = true;
    else
        closeAll();
}

void TcpProxy::closeAll()
{
    for (const Pair& p : pairs_) {
        ::close(p.client);
        ::close(p.server);
    }
    pairs_.clear();
    for (int fd : held_)
        ::close(fd);
    held_.clear();
}

}  // namespace pos::test
