#pragma once
// What the client asks of a view's working space.
#include <cstddef>

#include "vob.h"

// The version a pathname through a view ("\\view\TAG\vob\dir\file" or
// "M:\TAG\vob\dir\file", no extension) selects: what the view's config spec
// selects (vob_elem_get_view_version). The view's tag
// goes into view (size bytes). 0; TBS_ST_NOT_FOUND when the name is not there; TBS_ST_INVALID_ARG for
// a null argument or a name that is not through a view.
int view_ws_lookup_pn(const char* pathname, char* view, std::size_t size, vob_handle_t* vob, vob_dbid_t* version);

// The version a file of a view's root was loaded from: the file by its
// library name through the view ("\\view\TAG\vob\dir\file", no extension),
// the element's VOB, that version (for the view's check-out, the checked-out
// version) and whether it is the view's check-out (1 or 0). 0; TBS_ST_NOT_FOUND when the
// view or the file is not there or the file is no element's (view-private,
// a directory); TBS_ST_INVALID_ARG for a null argument or a name not through a view.
int view_file_loaded_version(const char* pathname, vob_handle_t* vob, vob_dbid_t* version, int* checked_out);

// Makes the view forget what it cached of the object. 0; TBS_ST_INVALID_ARG for a null or
// empty view.
int view_inval_obj(const char* view, vob_handle_t vob, vob_dbid_t dbid);

// For tests: how many times the view was told to forget an object.
long view_inval_count(const char* view);
