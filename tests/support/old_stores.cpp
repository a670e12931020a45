#include "support/old_stores.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <string>
#include <vector>

namespace rv_test {

namespace {

struct Step {
  const char* schema;  // the release's migration from the version before
  const char* data;    // what that release wrote into its new tables
};

// Step i brings a store from schema version i to i + 1.
const std::vector<Step>& Steps() {
  static const std::vector<Step> steps = {
      {// 0 -> 1: settings by level, usage data, product parameters.
       "CREATE TABLE settings (knob INTEGER NOT NULL, level INTEGER NOT NULL,"
       " value INTEGER NOT NULL, PRIMARY KEY (knob, level));"
       "CREATE TABLE usage (id INTEGER PRIMARY KEY, event TEXT NOT NULL,"
       " is_text INTEGER NOT NULL, number INTEGER NOT NULL, text TEXT NOT NULL);"
       "CREATE TABLE params (number INTEGER PRIMARY KEY, value TEXT NOT NULL);",
       "INSERT INTO settings VALUES (7, 4, 1);"
       "INSERT INTO usage (event, is_text, number, text) VALUES ('rvdlg.options', 1, 0, 'shown');"
       "INSERT INTO params VALUES (20, 'C:\\old views');"},
      {// 1 -> 2: the tag registry, hosts' ports, the prefix map, the mount
       // table and its tunables.
       "CREATE TABLE rgy_regions (name TEXT PRIMARY KEY, comment TEXT NOT NULL,"
       " is_default INTEGER NOT NULL DEFAULT 0);"
       "CREATE TABLE rgy_entries (id INTEGER PRIMARY KEY, kind INTEGER NOT NULL, region TEXT NOT NULL);"
       "CREATE TABLE rgy_fields (entry INTEGER NOT NULL REFERENCES rgy_entries (id) ON DELETE CASCADE,"
       " key INTEGER NOT NULL, value TEXT NOT NULL, PRIMARY KEY (entry, key));"
       "CREATE INDEX rgy_fields_by_value ON rgy_fields (key, value);"
       "CREATE TABLE nlbd_ports (host TEXT PRIMARY KEY COLLATE NOCASE, port INTEGER NOT NULL);"
       "CREATE TABLE pfx_map (pathname TEXT PRIMARY KEY, refs INTEGER NOT NULL);"
       "CREATE TABLE mfs_mounts (seq INTEGER PRIMARY KEY, pathname TEXT NOT NULL UNIQUE,"
       " vob_uuid TEXT NOT NULL, flags INTEGER NOT NULL, storage TEXT NOT NULL, options TEXT NOT NULL);"
       "CREATE TABLE rvfs_tunables (number INTEGER PRIMARY KEY, value INTEGER NOT NULL);",
       "INSERT INTO rgy_regions VALUES ('old', 'an old region', 1);"
       "INSERT INTO nlbd_ports VALUES ('alpha', 7510);"},
      {// 2 -> 3: VOBs and their objects, events, labels, check-outs, locks,
       // attributes, hyperlinks and triggers.
       "CREATE TABLE vobs (id INTEGER PRIMARY KEY, tag TEXT NOT NULL UNIQUE, uuid TEXT NOT NULL,"
       " next_dbid INTEGER NOT NULL);"
       "CREATE TABLE vob_objs (vob INTEGER NOT NULL REFERENCES vobs (id) ON DELETE CASCADE,"
       " dbid INTEGER NOT NULL, mtype INTEGER NOT NULL, oid TEXT NOT NULL UNIQUE,"
       " name TEXT NOT NULL DEFAULT '', type INTEGER NOT NULL DEFAULT 0, elem INTEGER NOT NULL DEFAULT 0,"
       " branch INTEGER NOT NULL DEFAULT 0, number INTEGER NOT NULL DEFAULT 0, pred INTEGER NOT NULL DEFAULT 0,"
       " text TEXT NOT NULL DEFAULT '', obsolete INTEGER NOT NULL DEFAULT 0,"
       " predefined INTEGER NOT NULL DEFAULT 0, master TEXT NOT NULL DEFAULT '',"
       " owner TEXT NOT NULL DEFAULT '', grp TEXT NOT NULL DEFAULT '', mode INTEGER NOT NULL DEFAULT 292,"
       " PRIMARY KEY (vob, dbid));"
       "CREATE INDEX vob_objs_by_name ON vob_objs (vob, mtype, name);"
       "CREATE INDEX vob_objs_by_branch ON vob_objs (vob, branch, number);"
       "CREATE TABLE vob_events (id INTEGER PRIMARY KEY, vob INTEGER NOT NULL REFERENCES vobs (id)"
       " ON DELETE CASCADE, obj INTEGER NOT NULL, kind TEXT NOT NULL, secs INTEGER NOT NULL,"
       " user TEXT NOT NULL, grp TEXT NOT NULL, host TEXT NOT NULL, comment TEXT NOT NULL);"
       "CREATE INDEX vob_events_by_obj ON vob_events (vob, obj, id);"
       "CREATE TABLE vob_labels (vob INTEGER NOT NULL REFERENCES vobs (id) ON DELETE CASCADE,"
       " version INTEGER NOT NULL, lbtype INTEGER NOT NULL, PRIMARY KEY (vob, version, lbtype));"
       "CREATE TABLE vob_checkouts (vob INTEGER NOT NULL REFERENCES vobs (id) ON DELETE CASCADE,"
       " version INTEGER NOT NULL, branch INTEGER NOT NULL, view TEXT NOT NULL,"
       " reserved INTEGER NOT NULL, comment TEXT NOT NULL, event INTEGER NOT NULL,"
       " PRIMARY KEY (vob, version), UNIQUE (vob, branch, view));"
       "CREATE TABLE vob_locks (vob INTEGER NOT NULL REFERENCES vobs (id) ON DELETE CASCADE,"
       " obj INTEGER NOT NULL, user TEXT NOT NULL, secs INTEGER NOT NULL, comment TEXT NOT NULL,"
       " PRIMARY KEY (vob, obj));"
       "CREATE TABLE vob_attrs (vob INTEGER NOT NULL REFERENCES vobs (id) ON DELETE CASCADE,"
       " obj INTEGER NOT NULL, attype INTEGER NOT NULL, kind INTEGER NOT NULL, value TEXT NOT NULL,"
       " PRIMARY KEY (vob, obj, attype));"
       "CREATE TABLE vob_hlinks (vob INTEGER NOT NULL REFERENCES vobs (id) ON DELETE CASCADE,"
       " hlink INTEGER NOT NULL, from_vob INTEGER NOT NULL, from_obj INTEGER NOT NULL,"
       " to_vob INTEGER NOT NULL, to_obj INTEGER NOT NULL, from_text TEXT NOT NULL,"
       " to_text TEXT NOT NULL, PRIMARY KEY (vob, hlink));"
       "CREATE TABLE vob_triggers (vob INTEGER NOT NULL REFERENCES vobs (id) ON DELETE CASCADE,"
       " obj INTEGER NOT NULL, trtype INTEGER NOT NULL, PRIMARY KEY (vob, obj, trtype));",
       "INSERT INTO vobs VALUES (1, '\\old', '0b1d0000-0000-4000-8000-000000000001', 1);"},
      {// 3 -> 4: hosts, views and what each view's root was loaded with.
       "CREATE TABLE hosts (name TEXT PRIMARY KEY COLLATE NOCASE, os TEXT NOT NULL, os_version TEXT NOT NULL,"
       " options TEXT NOT NULL);"
       "CREATE TABLE views (tag TEXT PRIMARY KEY, uuid TEXT NOT NULL UNIQUE, owner TEXT NOT NULL,"
       " host TEXT NOT NULL, spec TEXT NOT NULL, snapshot INTEGER NOT NULL, active INTEGER NOT NULL,"
       " comment TEXT NOT NULL, created INTEGER NOT NULL);"
       "CREATE TABLE view_files (view TEXT NOT NULL REFERENCES views (tag) ON DELETE CASCADE,"
       " path TEXT NOT NULL, vob INTEGER NOT NULL, version INTEGER NOT NULL, checked_out INTEGER NOT NULL,"
       " PRIMARY KEY (view, path));",
       "INSERT INTO views VALUES ('old_view', '0b1d0000.00004000.8000.00:00:00:00:00:a1', 'old', 'alpha',"
       " 'element * \\main\\LATEST', 0, 0, 'an old view', 0);"},
      {// 4 -> 5: the change-management model. Folders, projects, streams,
       // components, baselines and activities are objects of a project VOB;
       // these tables hold their facts and relations, the views that work in
       // streams, and the Tracklane records that activities are bound to.
       "CREATE TABLE flm_folders (vob INTEGER NOT NULL REFERENCES vobs (id) ON DELETE CASCADE,"
       " folder INTEGER NOT NULL, parent INTEGER NOT NULL, PRIMARY KEY (vob, folder));"
       "CREATE TABLE flm_projects (vob INTEGER NOT NULL REFERENCES vobs (id) ON DELETE CASCADE,"
       " project INTEGER NOT NULL, folder INTEGER NOT NULL, single_stream INTEGER NOT NULL,"
       " integration INTEGER NOT NULL DEFAULT 0, rebase_level TEXT NOT NULL DEFAULT '',"
       " tl_database TEXT NOT NULL DEFAULT '', PRIMARY KEY (vob, project));"
       "CREATE TABLE flm_streams (vob INTEGER NOT NULL REFERENCES vobs (id) ON DELETE CASCADE,"
       " stream INTEGER NOT NULL, project INTEGER NOT NULL, integration INTEGER NOT NULL,"
       " read_only INTEGER NOT NULL DEFAULT 0, deliver_to INTEGER NOT NULL DEFAULT 0, brtype TEXT NOT NULL,"
       " PRIMARY KEY (vob, stream));"
       "CREATE TABLE flm_components (vob INTEGER NOT NULL REFERENCES vobs (id) ON DELETE CASCADE,"
       " component INTEGER NOT NULL, root_vob INTEGER NOT NULL, root_elem INTEGER NOT NULL,"
       " PRIMARY KEY (vob, component));"
       "CREATE TABLE flm_baselines (vob INTEGER NOT NULL REFERENCES vobs (id) ON DELETE CASCADE,"
       " baseline INTEGER NOT NULL, component INTEGER NOT NULL, stream INTEGER NOT NULL, pred INTEGER NOT NULL,"
       " labeling INTEGER NOT NULL, plevel TEXT NOT NULL, lbtype TEXT NOT NULL, PRIMARY KEY (vob, baseline));"
       "CREATE TABLE flm_activities (vob INTEGER NOT NULL REFERENCES vobs (id) ON DELETE CASCADE,"
       " activity INTEGER NOT NULL, stream INTEGER NOT NULL, kind INTEGER NOT NULL,"
       " state INTEGER NOT NULL, source INTEGER NOT NULL DEFAULT 0, tl_database TEXT NOT NULL DEFAULT '',"
       " tl_number INTEGER NOT NULL DEFAULT 0, PRIMARY KEY (vob, activity));"
       "CREATE TABLE flm_stream_baselines (vob INTEGER NOT NULL REFERENCES vobs (id) ON DELETE CASCADE,"
       " stream INTEGER NOT NULL, role INTEGER NOT NULL, baseline INTEGER NOT NULL,"
       " PRIMARY KEY (vob, stream, role, baseline));"
       "CREATE TABLE flm_modifiable (vob INTEGER NOT NULL REFERENCES vobs (id) ON DELETE CASCADE,"
       " project INTEGER NOT NULL, component INTEGER NOT NULL, PRIMARY KEY (vob, project, component));"
       "CREATE TABLE flm_members (vob INTEGER NOT NULL REFERENCES vobs (id) ON DELETE CASCADE,"
       " composite INTEGER NOT NULL, member INTEGER NOT NULL, PRIMARY KEY (vob, composite, member));"
       "CREATE TABLE flm_plevels (vob INTEGER NOT NULL REFERENCES vobs (id) ON DELETE CASCADE,"
       " position INTEGER NOT NULL, name TEXT NOT NULL, PRIMARY KEY (vob, position), UNIQUE (vob, name));"
       "CREATE TABLE flm_changes (vob INTEGER NOT NULL REFERENCES vobs (id) ON DELETE CASCADE,"
       " version INTEGER NOT NULL, activity_vob INTEGER NOT NULL REFERENCES vobs (id) ON DELETE CASCADE,"
       " activity INTEGER NOT NULL,"
       " PRIMARY KEY (vob, version));"
       "CREATE INDEX flm_changes_by_activity ON flm_changes (activity_vob, activity);"
       "CREATE TABLE flm_contributors (vob INTEGER NOT NULL REFERENCES vobs (id) ON DELETE CASCADE,"
       " activity INTEGER NOT NULL, contributor INTEGER NOT NULL, PRIMARY KEY (vob, activity, contributor));"
       "CREATE TABLE flm_op_baselines (vob INTEGER NOT NULL REFERENCES vobs (id) ON DELETE CASCADE,"
       " activity INTEGER NOT NULL, baseline INTEGER NOT NULL, PRIMARY KEY (vob, activity, baseline));"
       "CREATE TABLE flm_pvars (vob INTEGER NOT NULL REFERENCES vobs (id) ON DELETE CASCADE,"
       " obj INTEGER NOT NULL, name TEXT NOT NULL, value TEXT NOT NULL, PRIMARY KEY (vob, obj, name));"
       "CREATE TABLE flm_views (view TEXT PRIMARY KEY REFERENCES views (tag) ON DELETE CASCADE,"
       " vob INTEGER NOT NULL REFERENCES vobs (id) ON DELETE CASCADE, stream INTEGER NOT NULL,"
       " activity INTEGER NOT NULL);"
       "CREATE TABLE tl_types (db TEXT NOT NULL, name TEXT NOT NULL, PRIMARY KEY (db, name));"
       "CREATE TABLE tl_records (db TEXT NOT NULL, number INTEGER NOT NULL, type TEXT NOT NULL,"
       " state TEXT NOT NULL, headline TEXT NOT NULL, description TEXT NOT NULL, PRIMARY KEY (db, number));"
       "CREATE TABLE tl_project_types (vob INTEGER NOT NULL REFERENCES vobs (id) ON DELETE CASCADE,"
       " project INTEGER NOT NULL, type TEXT NOT NULL, PRIMARY KEY (vob, project, type));",
       "INSERT INTO tl_types VALUES ('OLD', 'Defect');"
       "INSERT INTO tl_records VALUES ('OLD', 1, 'Defect', 'Submitted', 'An old record', '');"},
      {// 5 -> 6: check-outs made without mastership, mastership requests.
       "ALTER TABLE vob_checkouts ADD COLUMN nonmastered INTEGER NOT NULL DEFAULT 0;"
       "CREATE TABLE mastership_requests (id INTEGER PRIMARY KEY, object TEXT NOT NULL, replica TEXT NOT NULL,"
       " secs INTEGER NOT NULL);",
       // an attribute type made before types kept their definitions
       "INSERT INTO vob_objs (vob, dbid, mtype, oid, name, number)"
       " VALUES (1, 1, 15, '0b1d0000-0000-4000-8000-0000000000a1', 'Severity', 1);"
       "UPDATE vobs SET next_dbid = 2 WHERE id = 1;"},
      {// 6 -> 7: type definitions and their lists.
       "CREATE TABLE vob_typedefs (vob INTEGER NOT NULL REFERENCES vobs (id) ON DELETE CASCADE,"
       " type INTEGER NOT NULL, occurs INTEGER NOT NULL, globalness INTEGER NOT NULL,"
       " master_kind INTEGER NOT NULL, lower TEXT, upper TEXT, lower_inclusive INTEGER NOT NULL,"
       " upper_inclusive INTEGER NOT NULL, default_value TEXT, supertype INTEGER NOT NULL, mgr TEXT NOT NULL,"
       " ptime INTEGER NOT NULL, mergetype INTEGER NOT NULL, from_occurs INTEGER NOT NULL,"
       " to_occurs INTEGER NOT NULL, host TEXT NOT NULL, PRIMARY KEY (vob, type));"
       "CREATE TABLE vob_type_items (vob INTEGER NOT NULL REFERENCES vobs (id) ON DELETE CASCADE,"
       " type INTEGER NOT NULL, list TEXT NOT NULL, position INTEGER NOT NULL, value TEXT NOT NULL,"
       " PRIMARY KEY (vob, type, list, position));",
       // A version of \old checked out in old_view.
       "INSERT INTO vob_objs (vob, dbid, mtype, oid, number) VALUES (1, 2, 7, 'old-version', -1);"
       "UPDATE vobs SET next_dbid = 3 WHERE id = 1;"
       "INSERT INTO vob_events VALUES (1, 1, 2, 'checkout version', 0, 'old', 'staff', 'alpha', 'old work');"
       "INSERT INTO vob_checkouts VALUES (1, 2, 0, 'old_view', 1, 'old work', 1, 0);"},
      {// 7 -> 8: a check-out keeps its view's UUID, host and storage path.
       "ALTER TABLE vob_checkouts ADD COLUMN view_uuid TEXT NOT NULL DEFAULT '';"
       "ALTER TABLE vob_checkouts ADD COLUMN view_host TEXT NOT NULL DEFAULT '';"
       "ALTER TABLE vob_checkouts ADD COLUMN view_path TEXT NOT NULL DEFAULT '';"
       "UPDATE vob_checkouts SET view_path = '\\\\view\\' || view,"
       " view_uuid = coalesce((SELECT uuid FROM views WHERE views.tag = vob_checkouts.view), ''),"
       " view_host = coalesce((SELECT host FROM views WHERE views.tag = vob_checkouts.view), '');",
       // A second version of \old, checked out in a view that is gone.
       "INSERT INTO vob_objs (vob, dbid, mtype, oid, number) VALUES (1, 3, 7, 'gone-version', -1);"
       "UPDATE vobs SET next_dbid = 4 WHERE id = 1;"
       "INSERT INTO vob_events VALUES (2, 1, 3, 'checkout version', 0, 'old', 'staff', 'beta', 'gone work');"
       "INSERT INTO vob_checkouts VALUES (1, 3, 0, 'gone_view', 0, 'gone work', 2, 0,"
       " '0b1d0000.00004000.8000.00:00:00:00:00:b2', 'beta', '\\\\view\\gone_view');"
       // A view made before views had drives.
       "INSERT INTO views VALUES ('started_view', 'started-uuid', 'staff', 'alpha', '', 0, 1, '', 0);"
       // The old version locked with a comment.
       "INSERT INTO vob_locks VALUES (1, 2, 'old', 0, 'frozen');"},
      {// 8 -> 9: an index of an element's objects.
       "CREATE INDEX vob_objs_by_elem ON vob_objs (vob, elem);", ""},
      {// 9 -> 10: drives assigned to views, and the views started at logon.
       "CREATE TABLE view_drives (letter TEXT PRIMARY KEY,"
       " view TEXT NOT NULL REFERENCES views (tag) ON DELETE CASCADE);"
       "CREATE TABLE view_logon (seq INTEGER PRIMARY KEY,"
       " view TEXT NOT NULL UNIQUE REFERENCES views (tag) ON DELETE CASCADE, letter TEXT NOT NULL);",
       ""},
      {// 10 -> 11: the VOBs mounted again at logon.
       "CREATE TABLE persistent_vobs (tag TEXT PRIMARY KEY);", ""},
  };
  return steps;
}

}  // namespace

int OldStoreVersions() { return static_cast<int>(Steps().size()) + 1; }

void MakeOldStore(const std::filesystem::path& file, int version) {
  ASSERT_FALSE(std::filesystem::exists(file)) << file;
  ASSERT_GE(version, 0);
  ASSERT_LT(version, OldStoreVersions());
  std::string sql =
      "BEGIN;"
      "CREATE TABLE rv_meta (key TEXT PRIMARY KEY, value TEXT NOT NULL);"
      "INSERT INTO rv_meta VALUES ('application', 'rvdlg store'), ('schema_version', '" +
      std::to_string(version) + "');";
  for (std::size_t i = 0; i < static_cast<std::size_t>(version); ++i)
    sql += std::string(Steps()[i].schema) + Steps()[i].data;
  sql += "COMMIT;";
  sqlite3* db = nullptr;
  ASSERT_EQ(sqlite3_open(file.c_str(), &db), SQLITE_OK);
  char* error = nullptr;
  const int rc = sqlite3_exec(db, sql.c_str(), nullptr, nullptr, &error);
  const std::string message = error ? error : "";
  sqlite3_free(error);
  sqlite3_close(db);
  ASSERT_EQ(rc, SQLITE_OK) << message;
}

}  // namespace rv_test
