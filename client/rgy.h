#pragma once
// The tag registry of the client libraries: regions (one of them the
// machine's default), and in each region the tag entries of VOBs and views;
// beside them the object entries of VOBs, which belong to no region.
//
// An entry holds string fields by key number (rgy_getstring_from_entry).
// Entries are read through a cursor over one kind of entry in one region:
// rgy_get_entry hands out the next batch, rgy_findbystring_entry the entries
// whose field equals a text. Every entry handed out belongs to the caller
// until rgy_delete_entry; the cursor until rgy_close_cursor. An entry is a
// copy: later changes of the registry do not reach it.
#include <cstddef>

#include "tbs_uuid.h"

struct rgy_entry;
struct rgy_cursor;
using rgy_entry_t = rgy_entry*;
using rgy_cursor_t = rgy_cursor*;

// Kinds of entries.
inline constexpr int RGY_KIND_VOB_TAG = 1;
inline constexpr int RGY_KIND_VIEW_TAG = 2;
inline constexpr int RGY_KIND_VOB_OBJECT = 3;  // in no region
inline constexpr int RGY_KIND_REGION = 4;      // the regions themselves (cursors only; region ignored)
inline constexpr int RGY_KIND_VIEW_OBJECT = 5; // in no region, keyed by the view's UUID

// Keys of string fields.
inline constexpr int RGY_KEY_HOST = 1;          // the server host
inline constexpr int RGY_KEY_GPATH = 2;         // global pathname of the storage; "<no-gpath>" for none
inline constexpr int RGY_KEY_LOCAL_PATH = 3;    // host-local pathname of the storage (objects)
inline constexpr int RGY_KEY_COMMENT = 4;
inline constexpr int RGY_KEY_REGION = 5;        // tags: their region (set by rgy_add_entry)
inline constexpr int RGY_KEY_ACCESS = 6;        // "public", or another word for private
inline constexpr int RGY_KEY_MOUNT_OPTS = 7;    // comma-separated mount options
inline constexpr int RGY_KEY_CREATOR = 8;       // tags: the user who added the entry (set by rgy_add_entry)
inline constexpr int RGY_KEY_TAG = 10;          // the tag (the pathname it is mounted under)
inline constexpr int RGY_KEY_UUID = 16;         // the VOB's UUID in text form
inline constexpr int RGY_KEY_REPLICA_UUID = 17; // objects: the replica's UUID in text form
inline constexpr int RGY_KEY_OWNER = 18;        // view objects: the user who owns the view
inline constexpr int RGY_KEY_VIEW_KIND = 19;    // view objects: RGY_VIEW_DYNAMIC, _SNAPSHOT or _WEB

inline constexpr const char* RGY_NO_GPATH = "<no-gpath>";

// View object entries (RGY_KIND_VIEW_OBJECT) hold the view's UUID (key 16),
// its host (1), its storage (2), its owner (18) and its kind (19), one of:
inline constexpr const char* RGY_VIEW_DYNAMIC = "dynamic";
inline constexpr const char* RGY_VIEW_SNAPSHOT = "snapshot";
inline constexpr const char* RGY_VIEW_WEB = "web";

// Region entries (RGY_KIND_REGION) hold the region's name in RGY_KEY_REGION
// and its comment in RGY_KEY_COMMENT.

// The kind of access check that asks for the registry password.
inline constexpr int RGY_ACCESS_PASSWORD = 3;

// The name of the machine's default region. 0; TBS_ST_NOT_FOUND when none is set; TBS_ST_INVALID_ARG
// for a null buffer; TBS_ST_FAILURE when the name does not fit (out left empty).
int rgy_get_default_region(char* out, std::size_t size);

// Opens a cursor over the entries of a kind (tags: in the region; objects
// and regions: the region is ignored and may be null). 0; TBS_ST_NOT_FOUND for an unknown region;
// TBS_ST_INVALID_ARG for a bad kind or a null argument.
int rgy_open_cursor(int kind, const char* region, rgy_cursor_t* cursor);
// 0; TBS_ST_INVALID_ARG for a null cursor.
int rgy_close_cursor(rgy_cursor_t cursor);

// The next batch of at most max entries of the cursor, in the order they
// were added. *count 0 at the end. 0; TBS_ST_INVALID_ARG for a null argument or max < 1.
int rgy_get_entry(rgy_cursor_t cursor, int max, rgy_entry_t* entries, int* count);

// The entries of the cursor's kind and region whose field `key` equals
// `value` exactly, at most max of them. 0 (also when none is found, *count
// 0); TBS_ST_INVALID_ARG for a null argument or max < 1.
int rgy_findbystring_entry(rgy_cursor_t cursor, int key, const char* value, int max, rgy_entry_t* entries,
                           int* count);

// A string field of an entry into buffer (size bytes, terminated). 0; TBS_ST_NOT_FOUND
// when the entry has no such field; TBS_ST_INVALID_ARG for a null argument; TBS_ST_FAILURE when the
// text does not fit (buffer left empty).
int rgy_getstring_from_entry(rgy_entry_t entry, int key, std::size_t size, char* buffer);

// A UUID field of an entry (key 16 or 17). 0; TBS_ST_NOT_FOUND when the entry has no
// such field or it holds no valid UUID; TBS_ST_INVALID_ARG for a null argument.
int rgy_getuuid_from_entry(rgy_entry_t entry, int key, tbs_uuid_t* uuid);

// Frees an entry. 0; TBS_ST_INVALID_ARG for null.
int rgy_delete_entry(rgy_entry_t entry);

// A field of the VOB object entry with this UUID (RGY_KIND_VOB_OBJECT, region
// ignored) or of the VOB tag entry with it in a region (RGY_KIND_VOB_TAG).
// 0; TBS_ST_NOT_FOUND when no such entry or field; TBS_ST_INVALID_ARG for a null argument or a bad
// kind; TBS_ST_FAILURE when the text does not fit (out left empty).
int rgy_getinfo_by_uuid(int kind, const char* region, const tbs_uuid_t* uuid, int key, char* out,
                        std::size_t size);

// The replica identifier of the VOB with this UUID (its object entry's key
// 17). 0; TBS_ST_NOT_FOUND when there is no entry or it has no valid replica UUID; TBS_ST_INVALID_ARG
// for a null argument.
int rgy_getuuid_by_uuid(const tbs_uuid_t* vob_uuid, tbs_uuid_t* replica);

// ---- Changing the registry ----

// Adds a region (0; TBS_ST_ALREADY when it exists; TBS_ST_INVALID_ARG for a null or empty name).
int rgy_add_region(const char* region, const char* comment);
// Makes a region the default. 0; TBS_ST_NOT_FOUND for an unknown region; TBS_ST_INVALID_ARG for null.
int rgy_set_default_region(const char* region);

// A new empty entry of a kind, not yet in the registry. 0; TBS_ST_INVALID_ARG for a bad
// kind or null.
int rgy_create_entry(int kind, rgy_entry_t* entry);
// Sets a string field of an entry (the copy the caller holds). 0; TBS_ST_INVALID_ARG for a
// null argument or a key outside 1..63.
int rgy_setstring_in_entry(rgy_entry_t entry, int key, const char* value);
// Adds an entry to the registry: a tag to a region (it needs key 10; two
// entries with the same tag in a region are refused with TBS_ST_ALREADY), an object
// anywhere (it needs key 16 holding a valid UUID; TBS_ST_ALREADY when that UUID is
// already there). The entry then holds what was stored (a tag's region and
// creator too). 0; TBS_ST_NOT_FOUND for an unknown region or a missing key; TBS_ST_INVALID_ARG for
// null or a region entry (rgy_add_region adds regions).
int rgy_add_entry(const char* region, rgy_entry_t entry);

// Removes every registry content: regions, entries (for starting afresh).
int rgy_clear();

// The entries of the cursor's kind and region whose UUID (key 16) is the
// UUID (case aside), at most max of them. 0 (also when none, *count 0);
// TBS_ST_INVALID_ARG for a null argument or max < 1.
int rgy_findbyuuid_entry(rgy_cursor_t cursor, const tbs_uuid_t* uuid, int max, rgy_entry_t* entries, int* count);
// Removes the tag entry of a kind with that tag from a region. 0; TBS_ST_NOT_FOUND when
// there is none; TBS_ST_INVALID_ARG for a null argument or a kind that is no tag kind.
int rgy_remove_by_string(int kind, const char* region, const char* tag);
// Removes the VOB or view object entry with that UUID (key 16). 0; TBS_ST_NOT_FOUND when there
// is none; TBS_ST_INVALID_ARG for null.
int rgy_remove_by_uuid(const tbs_uuid_t* uuid);

// Sets a field of an entry (the caller's copy) to a UUID's text form. 0;
// TBS_ST_INVALID_ARG as for rgy_setstring_in_entry.
int rgy_setuuid_in_entry(rgy_entry_t entry, int key, const tbs_uuid_t* uuid);

// Stores the fields of `changes` (an entry of the same kind, from
// rgy_create_entry) over the registry record that `entry` was read from, in
// one transaction, and hands out that record as now stored in *stored (the
// caller's until rgy_delete_entry). A tag's region and creator, and an
// object's UUID, are not changed. 0; TBS_ST_NOT_FOUND when the record is gone (or
// `entry` was never stored); TBS_ST_ALREADY when a renamed tag or region meets another of
// that name; TBS_ST_INVALID_ARG for a null argument, kinds that differ or an empty name.
int rgy_modify_entry(rgy_entry_t entry, rgy_entry_t changes, rgy_entry_t* stored);

// ---- The registry server ----

// Records the host of the registry's server (rgy_clear forgets it). 0;
// TBS_ST_INVALID_ARG for a null or empty name.
int rgy_set_server_host(const char* host);
// The host of the registry's server into out. 0; TBS_ST_NOT_FOUND when no registry
// records one; TBS_ST_INVALID_ARG for a null buffer; TBS_ST_FAILURE when the name does not fit.
int rgy_get_server_host(char* out, std::size_t size);
// Sets the registry password (kept hashed; "" for none). 0; TBS_ST_NOT_FOUND without a
// server; TBS_ST_INVALID_ARG for null.
int rgy_set_password(const char* word);
// Checks a name for a kind of access: RGY_ACCESS_PASSWORD asks whether the
// word is the registry password (without one, only "" is). 0 granted;
// TBS_ST_NO_ACCESS refused; TBS_ST_INVALID_ARG for another kind or null.
int rgy_chk_access(int kind, const char* name);
// Whether the calling user may change or remove a tag: 0 for the user who
// added it or a privileged user (credutl_is_privileged); TBS_ST_NO_ACCESS for anyone
// else; TBS_ST_NOT_FOUND when there is no such tag; TBS_ST_INVALID_ARG for null or a kind
// that is no tag kind.
int rgy_chk_tag_priv(int kind, const char* region, const char* tag);

// For tests: the entries and cursors handed out and not yet freed.
int rgy_live_entry_count();
int rgy_live_cursor_count();
