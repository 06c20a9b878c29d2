#pragma once
// A one-thread HTTP server on 127.0.0.1 for the update-check tests: it answers every
// request with one canned reply, accepts and then never answers, or sends a reply that
// never ends, a little at a time. It listens on a port the system picks and stops
// (closing its sockets) when destroyed.

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <string>
#include <thread>

class LocalHttpServer
{
public:
    enum class Mode { Answer, Silent, Trickle };

    explicit LocalHttpServer(std::string body, int status = 200, Mode mode = Mode::Answer)
        : reply(MakeReply(body, status)), mode(mode)
    {
        listener = ::socket(AF_INET, SOCK_STREAM, 0);
        const int yes = 1;
        ::setsockopt(listener, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof(yes));
        sockaddr_in address {};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        address.sin_port = 0;
        ::bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof(address));
        ::listen(listener, 4);
        socklen_t length = sizeof(address);
        ::getsockname(listener, reinterpret_cast<sockaddr*>(&address), &length);
        port = ntohs(address.sin_port);
        worker = std::thread([this] { Serve(); });
    }

    ~LocalHttpServer()
    {
        stopping = true;
        worker.join();
        ::close(listener);
    }

    int Port() const { return port; }
    int Requests() const { return requests; }
    std::string Url() const
    {
        return "http://127.0.0.1:" + std::to_string(port) + "/appservices/kesta-wizard-update.php";
    }

    // A port on which nothing listens: bound once by the system, then closed.
    static int UnusedPort()
    {
        LocalHttpServer probe("");
        return probe.Port();
    }

private:
    static std::string MakeReply(const std::string& body, int status)
    {
        return "HTTP/1.0 " + std::to_string(status) + (status == 200 ? " OK" : " Error")
               + "\r\nContent-Type: text/xml\r\nContent-Length: " + std::to_string(body.size())
               + "\r\nConnection: close\r\n\r\n" + body;
    }

    // Waits for `fd` to become readable, checking every 20 ms whether the server stops.
    bool WaitReadable(int fd)
    {
        while (! stopping)
        {
            pollfd p { fd, POLLIN, 0 };
            if (::poll(&p, 1, 20) > 0)
                return true;
        }
        return false;
    }

    void WaitForStop()
    {
        while (! stopping)
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }

    void Serve()
    {
        while (WaitReadable(listener))
        {
            const int client = ::accept(listener, nullptr, nullptr);
            if (client < 0)
                continue;
            ++requests;
            std::string request;
            char buffer[1024];
            while (request.find("\r\n\r\n") == std::string::npos && WaitReadable(client))
            {
                const ssize_t got = ::recv(client, buffer, sizeof(buffer), 0);
                if (got <= 0)
                    break;
                request.append(buffer, (size_t) got);
            }
            if (mode == Mode::Silent)
                WaitForStop();
            else if (mode == Mode::Trickle)
                Trickle(client);
            else
                SendAll(client);
            ::close(client);
        }
    }

    void SendAll(int client) { Send(client, reply); }

    static bool Send(int client, const std::string& text)
    {
        size_t sent = 0;
        while (sent < text.size())
        {
            const ssize_t n = ::send(client, text.data() + sent, text.size() - sent, MSG_NOSIGNAL);
            if (n <= 0)
                return false;
            sent += (size_t) n;
        }
        return true;
    }

    // Headers for a long reply, then 25 bytes every 100 ms: fast enough to count as alive.
    void Trickle(int client)
    {
        if (! Send(client, "HTTP/1.0 200 OK\r\nContent-Length: 1000000\r\n\r\n"))
            return;
        while (! stopping && Send(client, std::string(25, 'x')))
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }

    std::string reply;
    Mode mode;
    int listener = -1;
    int port = 0;
    std::atomic<bool> stopping { false };
    std::atomic<int> requests { 0 };
    std::thread worker;
};
