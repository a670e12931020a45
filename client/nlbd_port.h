#pragma once
// The network ports of the hosts' location brokers, by host name (any case).

// 0; 1002 for a host without a port; 1003 for a null argument.
int nlbd_get_port(const char* host, int* port);
// Records a host's port (1..65535). 0; 1003 for a null or empty host name or
// a port out of range.
int nlbd_set_port(const char* host, int port);
