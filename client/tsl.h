#pragma once
// The replication add-on as the client sees it: whether this site may ask
// other replicas for the mastership of branches, and the requests it asked.
#include <cstddef>

// The product parameter (ntregy_get_param) that allows mastership requests
// on this site: "1" allows them.
inline constexpr int TSL_PARAM_REQMASTER_ENABLED = 41;

// 1 when this site may request mastership, else 0.
int tslReqMasterEnabledOnSite();

// Records a request for the mastership of a branch ("\vob\f.c@@\main", or
// the same through a view: "\\view\TAG\vob\f.c@@\main") from
// the replica that masters it, whose name goes into replica (size bytes).
// 0; TBS_ST_NOT_FOUND (with a message) when the object names no branch;
// TBS_ST_INVALID_ARG for a null argument or a buffer too small.
int tsl_request_mastership(const char* object, char* replica, std::size_t size);
