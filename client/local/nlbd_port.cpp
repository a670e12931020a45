#include "nlbd_port.h"

#include <string>

#include "local/local_call.h"
#include "local/store.h"
#include "tbs.h"

using client_local::LocalCall;
using client_local::NonNull;
using client_local::Statement;
using client_local::Store;

int nlbd_get_port(const char* host, int* port) {
  return LocalCall("nlbd_get_port", {host ? host : "(null)"}, NonNull(host, port), [&] {
    Store* store = client_local::CurrentStore();
    if (!store) return TBS_ST_NOT_FOUND;
    bool found = false;
    int value = 0;
    const int status = store->Command([&](Store& s) {
      Statement read(s, "SELECT port FROM nlbd_ports WHERE host = ?1");
      read.Bind(1, host);
      found = read.Step();
      if (found) value = static_cast<int>(read.Int(0));
      return TBS_ST_OK;
    });
    if (status) return status;
    if (!found) return TBS_ST_NOT_FOUND;
    *port = value;
    return TBS_ST_OK;
  });
}

int nlbd_set_port(const char* host, int port) {
  return LocalCall("nlbd_set_port", {host ? host : "(null)", std::to_string(port)},
                   NonNull(host) && *host && port >= 1 && port <= 65535, [&](Store& s) {
    Statement write(s, "INSERT INTO nlbd_ports (host, port) VALUES (?1, ?2)"
                       " ON CONFLICT (host) DO UPDATE SET port = excluded.port");
    write.Bind(1, host).Bind(2, port).Run();
    return TBS_ST_OK;
  });
}
