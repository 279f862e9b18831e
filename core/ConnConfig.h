#pragma once
// Connection settings read from Connection.ini, plus the port and rate that the autodetect
// search found. Only connMode and the link pair are used; the rest is kept as read.

#include <string>

class CConnConfig {
public:
    virtual ~CConnConfig() = default;

    int connMode = -1;      // 0 = local serial link; otherwise disconnecting does nothing
    int comPort = -1;
    int comBaudrate = -1;
    int linkPort = 0;       // set by the autodetect search, never read from the file
    int linkBaudrate = 0;   // set by the autodetect search, never read from the file
    int serverMode = 0;
    std::string ipAddress = "-1";
    int ipPort = -1;
    int modemPort = -1;
    int modemBaudrate = -1;
};
