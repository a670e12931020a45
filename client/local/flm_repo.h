#pragma once
// The change-management model of the local implementation: what the FLM_
// queries, the flm_admin_ builders and the Tracklane stand-in share. Every
// function here runs inside a command of the store.
#include <cstdint>
#include <initializer_list>
#include <string>

#include "flm.h"
#include "local/vob_repo.h"

namespace client_local::flm {

// The object, which must be there: TBS_ST_NOT_FOUND with a message when it
// is not, TBS_ST_WRONG_KIND when its meta-type is none of the kinds (an
// empty list takes any kind).
int NeedObject(Store& s, vob_handle_t vob, vob_dbid_t dbid, std::initializer_list<std::uint32_t> kinds,
               repo::Object* found = nullptr);
inline int NeedObject(Store& s, const FLM_VobObject& object, std::initializer_list<std::uint32_t> kinds,
                      repo::Object* found = nullptr) {
  return NeedObject(s, object.vob(), object.dbid(), kinds, found);
}

// A fact of an object: the first column of a query whose parameters 1 and 2
// are the VOB and DBID (0 or empty when there is no row).
std::int64_t FactNumber(Store& s, const char* sql, vob_handle_t vob, vob_dbid_t dbid);
std::string FactText(Store& s, const char* sql, vob_handle_t vob, vob_dbid_t dbid);

// The root directory element of the component that holds the element (the
// deepest such root in the element's VOB), or 0 when no component does.
vob_dbid_t ComponentRootOf(Store& s, const repo::Object& element);
// In a stream view, a check-out of an element of a component joins the
// view's current activity; refused (TBS_ST_FAILURE, with a message naming
// the file shown) when the view has none. Other views: nothing to do.
int JoinViewActivity(Store& s, const std::string& view, const repo::Object& element, vob_dbid_t checked_out,
                     const std::string& shown);
// A new change-management object of a project VOB under a valid name that
// no object of its kind has (TBS_ST_INVALID_ARG, TBS_ST_ALREADY with a
// message); its creation event names the owner (null: this user) and
// carries the comment (may be null).
int MakeObject(Store& s, vob_handle_t vob, std::uint32_t mtype, const char* name, const char* title,
               const char* owner, vob_dbid_t* made, const char* comment = nullptr);

// A regular activity of the stream (which must be there), made as above.
int AddActivity(Store& s, const FLM_Stream& stream, const char* name, const char* headline, const char* owner,
                const char* comment, FLM_Activity* activity);

// The config spec of a view that works in the stream.
std::string StreamConfigSpec(Store& s, vob_handle_t vob, vob_dbid_t stream);

// The Tracklane record an activity is bound to (null for none).
FLM_TLEntityID BoundRecord(Store& s, vob_handle_t vob, vob_dbid_t activity);
// A new record of a type of the database, numbered on from its last; null
// (with a message) for a type the database does not have.
FLM_TLEntityID AddRecord(Store& s, const std::string& database, const std::string& type, const std::string& state,
                         const std::string& headline, const std::string& description);

}  // namespace client_local::flm
