#pragma once
// What the client asks of a view's working space.
#include <cstddef>

#include "vob.h"

// The version a pathname through a view ("\\view\TAG\vob\dir\file" or
// "M:\TAG\vob\dir\file", no extension) selects: the view's check-out of
// the element, else the latest version of its branch "main". The view's tag
// goes into view (size bytes). 0; 1002 when the name is not there; 1003 for
// a null argument or a name that is not through a view.
int view_ws_lookup_pn(const char* pathname, char* view, std::size_t size, vob_handle_t* vob, vob_dbid_t* version);

// Makes the view forget what it cached of the object. 0; 1003 for a null or
// empty view.
int view_inval_obj(const char* view, vob_handle_t vob, vob_dbid_t dbid);

// For tests: how many times the view was told to forget an object.
long view_inval_count(const char* view);
