#pragma once
// Hyperlinks seen from an object: arrows (one end of a hyperlink, from the
// object's side), finding them by type, well-known hyperlinks, and their
// formatted text.
#include <cstddef>
#include <cstdint>

#include "vob.h"

// A hyperlink seen from one of its ends: the hyperlink, and whether the
// object is its from-end.
struct vob_hlinkh_s {
  std::uint32_t version = 1;
  vob_handle_t vob = 0;  // the hyperlink's VOB
  vob_dbid_t hlink = 0;
  int from_end = 1;
};

// The object's hyperlinks of the type (named; null or empty: any type),
// one by one: *cursor 0 starts; TBS_ST_NOT_FOUND at the end.
int vob_obj_find_hlink(vob_handle_t vob, vob_dbid_t dbid, const char* hltype, vob_dbid_t* cursor,
                       vob_hlinkh_s* handle);
// Well-known hyperlinks: the predefined types ("Merge").
int vob_obj_find_wk_hlink(vob_handle_t vob, vob_dbid_t dbid, const char* wk_type, vob_dbid_t* cursor,
                          vob_hlinkh_s* handle);
int vob_hlink_hlinkh_get_hlink(const vob_hlinkh_s* handle, vob_handle_t* vob, vob_dbid_t* hlink);
// *from_end 1 when the arrow leaves the object.
int vob_hlink_hlinkh_get_arrow(const vob_hlinkh_s* handle, int* from_end);
// "Merge@12@\vob -> \vob\f.c@@\main\2" from the from-end, "<-" from the
// to-end; single-ended: "Merge@12@\vob" and the from-text.
int vob_hlink_fmt_info(vob_handle_t vob, vob_dbid_t hlink, int from_end, char* out, std::size_t size);
int vob_hlink_fmt_single_ended_info(vob_handle_t vob, vob_dbid_t hlink, char* out, std::size_t size);
