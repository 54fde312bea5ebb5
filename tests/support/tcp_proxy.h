#pragma once

#include <atomic>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace pos::test {

// A TCP relay on loopback between the terminal and the test cluster, for network
// faults at exact points: it passes everything through until told to cut every
// connection (both sockets closed) or to black-hole them (nothing forwarded either way,
// nothing closed), at once or when a marker is seen going to the server.
class TcpProxy {
public:
    enum class Fault { Cut, BlackHole };
    // Whether the chunk holding the marker still reaches the server.
    enum class Moment { BeforeForwarding, AfterForwarding };

    // Relays to the test cluster (POS_TEST_PGHOST).
    TcpProxy();
    ~TcpProxy();
    TcpProxy(const TcpProxy&) = delete;
    TcpProxy& operator=(const TcpProxy&) = delete;

    // host:port to connect to instead of the cluster.
    std::string address() const;

    // Returns once the fault is in effect.
    void failNow(Fault fault);
    // Fails once, the first time `marker` is sent to the server by any connection.
    void failOn(std::string marker, Fault fault, Moment moment);
    bool fired() const { return fired_; }
    // New connections are closed as soon as they arrive, as by a server that is down.
    void refuseNewConnections() { refusing_ = true; }
    // The server is back: new connections are relayed again.
    void acceptNewConnections() { refusing_ = false; }

private:
    struct Pair {
        int client;
        int server;
        std::string sentTail;  // the last bytes sent to the server, for a marker split over two reads
    };
    struct Trigger {
        std::string marker;
        Fault fault;
        Moment moment;
    };

    void run();
    void accept();
    // False when the pair is to be closed.
    bool relay(Pair& pair, bool toServer);
    bool markerIn(Pair& pair, const std::string& chunk);
    void apply(Fault fault);
    void closeAll();

    std::string targetHost_;
    int targetPort_ = 0;
    int listener_ = -1;
    int port_ = 0;
    std::vector<Pair> pairs_;
    std::vector<int> held_;  // connections accepted while black-holed, never answered
    std::mutex mutex_;       // guards trigger_ and the faults asked for by the test
    std::optional<Trigger> trigger_;
    std::optional<Fault> pending_;
    bool blackHoled_ = false;
    std::atomic<bool> refusing_{false};
    std::atomic<bool> fired_{false};
    std::atomic<bool> stop_{false};
    std::thread thread_;
};

}  // namespace pos::test
