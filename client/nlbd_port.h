#pragma once
// The network ports of the hosts' location brokers, by host name (any case).

// 0; TBS_ST_NOT_FOUND for a host without a port; TBS_ST_INVALID_ARG for a null argument.
int nlbd_get_port(const char* host, int* port);
// Records a host's port (1..65535). 0; TBS_ST_INVALID_ARG for a null or empty host name or
// a port out of range.
int nlbd_set_port(const char* host, int port);
