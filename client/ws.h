#pragma once
// Snapshot views' load scopes: the "load" rules of their config spec.
#include <cstddef>

#include "view.h"

struct ws_handle;
using ws_handle_t = ws_handle*;

struct ws_scopes_t {
  std::size_t count = 0;
  char** scopes = nullptr;  // VOB pathnames ("\vob\src")
};

// The snapshot handle of a view. TBS_ST_WRONG_KIND for a view that is not a snapshot view.
int ws_get_handle_by_viewh(view_handle_t view, ws_handle_t* ws);
int ws_free_handle(ws_handle_t ws);
// The load scopes (freed with ws_free_scopes).
int ws_get_scopes(ws_handle_t ws, ws_scopes_t** scopes);
void ws_free_scopes(ws_scopes_t* scopes);
// The snapshot views registered on this host (their host is this machine's,
// case aside), in the order they were made; freed with
// ws_free_registered_list. 0; TBS_ST_INVALID_ARG for null.
struct ws_registered_list_t {
  std::size_t count = 0;
  char** tags = nullptr;
};
int ws_get_registered_list(ws_registered_list_t** list);
void ws_free_registered_list(ws_registered_list_t* list);

// Replaces the load rules and reloads the root. TBS_ST_INVALID_ARG for a scope that is
// no VOB pathname.
int ws_load_scopes(ws_handle_t ws, const char* const* scopes, std::size_t count);
