#include "local/store.h"

#include <sqlite3.h>

#include <climits>
#include <mutex>
#include <unordered_map>
#include <vector>

#include "imsg.h"
#include "platform/text.h"
#include "tbs.h"

namespace client_local {

namespace {

constexpr const char* kApplication = "rvdlg store";

// Each entry brings the schema from its index to the next version. Entries
// are never edited once released: a change of schema is a new entry.
const std::vector<const char*>& Migrations() {
  static const std::vector<const char*> migrations = {
      // 0 -> 1: settings by level, usage data, product parameters.
      "CREATE TABLE settings (knob INTEGER NOT NULL, level INTEGER NOT NULL,"
      " value INTEGER NOT NULL, PRIMARY KEY (knob, level));"
      "CREATE TABLE usage (id INTEGER PRIMARY KEY, event TEXT NOT NULL,"
      " is_text INTEGER NOT NULL, number INTEGER NOT NULL, text TEXT NOT NULL);"
      "CREATE TABLE params (number INTEGER PRIMARY KEY, value TEXT NOT NULL);",
      // 1 -> 2: the tag registry (regions, entries and their string fields),
      // hosts' ports, the pathname prefix map, the file-system driver's mount
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
      // 2 -> 3: VOBs and their objects (elements, branches, versions with
      // their contents, types, replicas, pools, hyperlinks, symbolic links,
      // derived objects), events, labels, check-outs, locks and attributes.
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
      // 3 -> 4: hosts, views (tags, uuids, owners, hosts, config specs,
      // active state) and what each view's root directory was loaded with.
      "CREATE TABLE hosts (name TEXT PRIMARY KEY COLLATE NOCASE, os TEXT NOT NULL, os_version TEXT NOT NULL,"
      " options TEXT NOT NULL);"
      "CREATE TABLE views (tag TEXT PRIMARY KEY, uuid TEXT NOT NULL UNIQUE, owner TEXT NOT NULL,"
      " host TEXT NOT NULL, spec TEXT NOT NULL, snapshot INTEGER NOT NULL, active INTEGER NOT NULL,"
      " comment TEXT NOT NULL, created INTEGER NOT NULL);"
      "CREATE TABLE view_files (view TEXT NOT NULL REFERENCES views (tag) ON DELETE CASCADE,"
      " path TEXT NOT NULL, vob INTEGER NOT NULL, version INTEGER NOT NULL, checked_out INTEGER NOT NULL,"
      " PRIMARY KEY (view, path));",
      // 4 -> 5: the change-management model. Folders, projects, streams,
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
      // 5 -> 6: check-outs made without the branch's mastership, and the
      // mastership requests sent to the replicas that hold it.
      "ALTER TABLE vob_checkouts ADD COLUMN nonmastered INTEGER NOT NULL DEFAULT 0;"
      "CREATE TABLE mastership_requests (id INTEGER PRIMARY KEY, object TEXT NOT NULL, replica TEXT NOT NULL,"
      " secs INTEGER NOT NULL);",
      // 6 -> 7: type definitions (a type without a row has its kind's
      // defaults) and their lists (enumerated values, trigger actions,
      // restrictions, operations and exempt users).
      "CREATE TABLE vob_typedefs (vob INTEGER NOT NULL REFERENCES vobs (id) ON DELETE CASCADE,"
      " type INTEGER NOT NULL, occurs INTEGER NOT NULL, globalness INTEGER NOT NULL,"
      " master_kind INTEGER NOT NULL, lower TEXT, upper TEXT, lower_inclusive INTEGER NOT NULL,"
      " upper_inclusive INTEGER NOT NULL, default_value TEXT, supertype INTEGER NOT NULL, mgr TEXT NOT NULL,"
      " ptime INTEGER NOT NULL, mergetype INTEGER NOT NULL, from_occurs INTEGER NOT NULL,"
      " to_occurs INTEGER NOT NULL, host TEXT NOT NULL, PRIMARY KEY (vob, type));"
      "CREATE TABLE vob_type_items (vob INTEGER NOT NULL REFERENCES vobs (id) ON DELETE CASCADE,"
      " type INTEGER NOT NULL, list TEXT NOT NULL, position INTEGER NOT NULL, value TEXT NOT NULL,"
      " PRIMARY KEY (vob, type, list, position));",
      // 7 -> 8: a check-out keeps its view's UUID, host and storage path, so
      // that it can be named once the view is gone; old rows take them from
      // their view while it is there.
      "ALTER TABLE vob_checkouts ADD COLUMN view_uuid TEXT NOT NULL DEFAULT '';"
      "ALTER TABLE vob_checkouts ADD COLUMN view_host TEXT NOT NULL DEFAULT '';"
      "ALTER TABLE vob_checkouts ADD COLUMN view_path TEXT NOT NULL DEFAULT '';"
      "UPDATE vob_checkouts SET view_path = '\\\\view\\' || view,"
      " view_uuid = coalesce((SELECT uuid FROM views WHERE views.tag = vob_checkouts.view), ''),"
      " view_host = coalesce((SELECT host FROM views WHERE views.tag = vob_checkouts.view), '');",
      // 8 -> 9: an element's objects by the element, so that finding its
      // check-outs costs the same however many the VOB holds.
      "CREATE INDEX vob_objs_by_elem ON vob_objs (vob, elem);",
      // 9 -> 10: drives assigned to views, and the views started at logon
      // (with the drive, or '' for none, each gets again).
      "CREATE TABLE view_drives (letter TEXT PRIMARY KEY,"
      " view TEXT NOT NULL REFERENCES views (tag) ON DELETE CASCADE);"
      "CREATE TABLE view_logon (seq INTEGER PRIMARY KEY,"
      " view TEXT NOT NULL UNIQUE REFERENCES views (tag) ON DELETE CASCADE, letter TEXT NOT NULL);",
      // 10 -> 11: the VOBs mounted again at logon.
      "CREATE TABLE persistent_vobs (tag TEXT PRIMARY KEY);",
      // 11 -> 12: a lock keeps whether it makes its object obsolete, the
      // locker's group and the users it lets through; directory elements
      // (meta-type 2) are readable and searchable by everyone.
      "ALTER TABLE vob_locks ADD COLUMN obsolete INTEGER NOT NULL DEFAULT 0;"
      "ALTER TABLE vob_locks ADD COLUMN grp TEXT NOT NULL DEFAULT '';"
      "CREATE TABLE vob_lock_users (vob INTEGER NOT NULL REFERENCES vobs (id) ON DELETE CASCADE,"
      " obj INTEGER NOT NULL, position INTEGER NOT NULL, user TEXT NOT NULL, PRIMARY KEY (vob, obj, position));"
      "UPDATE vob_objs SET mode = 365 WHERE mtype = 2 AND mode = 292;",
  };
  return migrations;
}

std::mutex g_current_mutex;
std::unique_ptr<Store>& CurrentStorage() {
  static auto* store = new std::unique_ptr<Store>();
  return *store;
}

}  // namespace

void OnStoreChanged(Store* store);  // settings and usage data follow the store
void ApplyStoredDrives(Store* store);  // the path map follows the store's drives

// One command at a time per store: the connection is shared by threads.
struct Store::Lock {
  std::recursive_mutex mutex;
};

// Idle prepared statements by the text they were prepared from. Several of
// one text may be idle (a statement used again while it runs is prepared
// anew). At most kLimit texts and kLimit idle statements are kept, so a
// store given many different texts does not grow.
struct Store::StatementCache {
  static constexpr std::size_t kLimit = 512;
  struct Hash {
    using is_transparent = void;
    std::size_t operator()(std::string_view text) const { return std::hash<std::string_view>{}(text); }
  };
  std::mutex mutex;
  std::unordered_map<std::string, std::vector<sqlite3_stmt*>, Hash, std::equal_to<>> idle;
  std::size_t idle_count = 0;
};

// ---- Statement ----

Statement::Statement(Store& store, std::string_view sql) : store_(store) {
  statement_ = store.TakeStatement(sql, &idle_);
}

Statement::~Statement() { store_.ReturnStatement(statement_, idle_); }

Statement& Statement::Bind(int index, std::int64_t value) {
  if (sqlite3_bind_int64(statement_, index, value) != SQLITE_OK) store_.Fail("cannot bind a value");
  return *this;
}

Statement& Statement::Bind(int index, std::string_view text) {
  if (sqlite3_bind_text(statement_, index, text.data(), static_cast<int>(text.size()), SQLITE_TRANSIENT) !=
      SQLITE_OK)
    store_.Fail("cannot bind a text");
  return *this;
}

Statement& Statement::BindNull(int index) {
  if (sqlite3_bind_null(statement_, index) != SQLITE_OK) store_.Fail("cannot bind a null");
  return *this;
}

bool Statement::Step() {
  const int rc = sqlite3_step(statement_);
  if (rc == SQLITE_ROW) return true;
  if (rc == SQLITE_DONE) return false;
  store_.Fail("a statement failed");
}

void Statement::Run() {
  while (Step()) {
  }
}

std::int64_t Statement::Int(int column) const { return sqlite3_column_int64(statement_, column); }

std::string Statement::Text(int column) const {
  const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(statement_, column));
  return text ? std::string(text, static_cast<std::size_t>(sqlite3_column_bytes(statement_, column)))
              : std::string();
}

bool Statement::IsNull(int column) const { return sqlite3_column_type(statement_, column) == SQLITE_NULL; }

// ---- Store ----

Store::Store(sqlite3* db, std::string name)
    : db_(db), name_(std::move(name)), lock_(std::make_unique<Lock>()), statements_(std::make_unique<StatementCache>()) {}

Store::~Store() {
  for (auto& [sql, idle] : statements_->idle)
    for (sqlite3_stmt* statement : idle) sqlite3_finalize(statement);
  sqlite3_close(db_);
}

sqlite3_stmt* Store::TakeStatement(std::string_view sql, std::vector<sqlite3_stmt*>** idle) {
  *idle = nullptr;
  {
    std::lock_guard guard(statements_->mutex);
    auto found = statements_->idle.find(sql);
    if (found == statements_->idle.end() && statements_->idle.size() < StatementCache::kLimit)
      found = statements_->idle.emplace(std::string(sql), std::vector<sqlite3_stmt*>()).first;
    if (found != statements_->idle.end()) {
      *idle = &found->second;
      if (!found->second.empty()) {
        sqlite3_stmt* statement = found->second.back();
        found->second.pop_back();
        --statements_->idle_count;
        return statement;
      }
    }
  }
  sqlite3_stmt* statement = nullptr;
  if (sqlite3_prepare_v2(db_, sql.data(), static_cast<int>(sql.size()), &statement, nullptr) != SQLITE_OK)
    Fail("cannot prepare a statement");
  return statement;
}

// Reset and unbound, the statement waits for its text's next use.
void Store::ReturnStatement(sqlite3_stmt* statement, std::vector<sqlite3_stmt*>* idle) {
  if (!statement) return;
  sqlite3_reset(statement);
  sqlite3_clear_bindings(statement);
  if (idle) {
    std::lock_guard guard(statements_->mutex);
    if (statements_->idle_count < StatementCache::kLimit) {
      idle->push_back(statement);
      ++statements_->idle_count;
      return;
    }
  }
  sqlite3_finalize(statement);
}

void Store::Fail(const std::string& what) {
  const int code = sqlite3_errcode(db_);
  std::string message = what + " in the store '" + name_ + "': " + sqlite3_errmsg(db_);
  if (code == SQLITE_BUSY || code == SQLITE_LOCKED)
    message = "the store '" + name_ + "' is locked by another process";
  else if (code == SQLITE_NOTADB)
    message = "'" + name_ + "' is not an rvdlg store";
  throw StoreError{code == SQLITE_FULL || code == SQLITE_NOMEM ? TBS_ST_NO_MEMORY : TBS_ST_FAILURE, message};
}

void Store::Exec(std::string_view sql) {
  char* error = nullptr;
  const std::string text(sql);
  if (sqlite3_exec(db_, text.c_str(), nullptr, nullptr, &error) != SQLITE_OK) {
    sqlite3_free(error);
    Fail("a statement failed");
  }
}

int Store::LatestSchemaVersion() { return static_cast<int>(Migrations().size()); }

int Store::SchemaVersion() {
  Statement read(*this, "SELECT value FROM rv_meta WHERE key = 'schema_version'");
  if (!read.Step()) return 0;
  const auto version = plat::ParseDecimal(read.Text(0), INT_MAX);
  if (!version) throw StoreError{TBS_ST_FAILURE, "the store '" + name_ + "' has a schema version that is no number"};
  return static_cast<int>(*version);
}

// Brings a new database up to the latest schema, or checks that an existing
// one is ours and not newer than this program; all in one transaction.
void Store::Migrate() {
  Exec("BEGIN IMMEDIATE");
  try {
    Statement tables(*this, "SELECT count(*) FROM sqlite_master");
    tables.Step();
    const bool empty = tables.Int(0) == 0;
    Statement ours(*this, "SELECT count(*) FROM sqlite_master WHERE type = 'table' AND name = 'rv_meta'");
    ours.Step();
    if (empty) {
      Exec("CREATE TABLE rv_meta (key TEXT PRIMARY KEY, value TEXT NOT NULL)");
      Statement mark(*this, "INSERT INTO rv_meta (key, value) VALUES ('application', ?1), ('schema_version', '0')");
      mark.Bind(1, kApplication).Run();
    } else {
      std::string application;
      if (ours.Int(0) == 1) {
        Statement read(*this, "SELECT value FROM rv_meta WHERE key = 'application'");
        if (read.Step()) application = read.Text(0);
      }
      if (application != kApplication) throw StoreError{TBS_ST_FAILURE, "'" + name_ + "' is not an rvdlg store"};
    }
    const int version = SchemaVersion();
    if (version > LatestSchemaVersion())
      throw StoreError{TBS_ST_FAILURE, "the store '" + name_ + "' was made by a newer rvdlg (schema " +
                                           std::to_string(version) + ")"};
    for (int v = version; v < LatestSchemaVersion(); ++v) Exec(Migrations()[static_cast<std::size_t>(v)]);
    Statement set(*this, "UPDATE rv_meta SET value = ?1 WHERE key = 'schema_version'");
    set.Bind(1, std::to_string(LatestSchemaVersion())).Run();
    Exec("COMMIT");
  } catch (...) {
    sqlite3_exec(db_, "ROLLBACK", nullptr, nullptr, nullptr);
    throw;
  }
}

std::unique_ptr<Store> Store::OpenFile(const std::filesystem::path& path, std::string* error,
                                       int busy_timeout_ms) {
  sqlite3* db = nullptr;
  const std::string name = path.string();
  if (sqlite3_open_v2(name.c_str(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_FULLMUTEX,
                      nullptr) != SQLITE_OK) {
    if (error) *error = "cannot open the store '" + name + "': " + (db ? sqlite3_errmsg(db) : "out of memory");
    sqlite3_close(db);
    return nullptr;
  }
  sqlite3_busy_timeout(db, busy_timeout_ms);
  std::unique_ptr<Store> store(new Store(db, name));
  try {
    store->Exec("PRAGMA foreign_keys = ON");
    store->Migrate();
  } catch (const StoreError& e) {
    if (error) *error = e.message;
    return nullptr;
  }
  return store;
}

std::unique_ptr<Store> Store::OpenMemory() {
  // SQLite's in-memory file (private to this connection) rather than
  // ":memory:": that one keeps every page in its page cache, and a commit
  // after a b-tree balance walks the cache's whole hash table, so each
  // command cost more the larger the store grew. Here the cache is bounded
  // as for a store in a file.
  sqlite3* db = nullptr;
  if (sqlite3_open_v2("file:store?vfs=memdb", &db,
                      SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_FULLMUTEX | SQLITE_OPEN_URI,
                      nullptr) != SQLITE_OK) {
    sqlite3_close(db);
    return nullptr;
  }
  // No bound but memory's, as before (the file's default is 1 GiB).
  sqlite3_int64 size_limit = LLONG_MAX / 2;
  sqlite3_file_control(db, "main", SQLITE_FCNTL_SIZE_LIMIT, &size_limit);
  std::unique_ptr<Store> store(new Store(db, ":memory:"));
  try {
    store->Exec("PRAGMA foreign_keys = ON");
    store->Migrate();
  } catch (const StoreError&) {
    return nullptr;
  }
  return store;
}

int Store::Command(const std::function<int(Store&)>& command) {
  if (int rc = Begin(); rc != 0) return rc;
  int status = TBS_ST_FAILURE;
  std::string failure;
  try {
    status = command(*this);
  } catch (const StoreError& e) {
    status = e.status;
    failure = e.message;
  } catch (const std::exception& e) {
    status = TBS_ST_FAILURE;
    failure = e.what();
  } catch (...) {
    status = TBS_ST_FAILURE;
    failure = "unexpected failure";
  }
  return End(status == 0, failure, status);
}

int Store::Begin() {
  lock_->mutex.lock();
  try {
    Exec(depth_ == 0 ? "BEGIN IMMEDIATE" : "SAVEPOINT cmd" + std::to_string(depth_));
  } catch (const StoreError& e) {
    lock_->mutex.unlock();
    imsg_print(IMSG_ERROR, "%s\n", e.message);
    return e.status;
  }
  ++depth_;
  undo_marks_.push_back(rollback_.size());
  after_marks_.push_back(after_commit_.size());
  return 0;
}

int Store::End(bool commit, std::string failure, int status) {
  // Waits for another thread's command; Begin's hold is released below.
  std::lock_guard guard(lock_->mutex);
  if (depth_ == 0) return TBS_ST_INVALID_ARG;  // nothing open
  --depth_;
  const std::string savepoint = "cmd" + std::to_string(depth_);
  const std::size_t undo_mark = undo_marks_.back();
  undo_marks_.pop_back();
  const std::size_t after_mark = after_marks_.back();
  after_marks_.pop_back();
  if (commit) {
    const int rc = sqlite3_exec(db_, depth_ == 0 ? "COMMIT" : ("RELEASE " + savepoint).c_str(), nullptr, nullptr,
                                nullptr);
    if (rc == SQLITE_OK) {
      if (depth_ == 0) {
        rollback_.clear();
        const auto after = std::move(after_commit_);
        after_commit_.clear();
        for (const auto& work : after) {
          try {
            work();
          } catch (...) {
            // the commit stands; what follows it is best effort
          }
        }
      }
      lock_->mutex.unlock();
      return 0;
    }
    failure = "cannot save the changes in the store '" + name_ + "': " + sqlite3_errmsg(db_);
    status = TBS_ST_FAILURE;
  }
  if (depth_ == 0)
    sqlite3_exec(db_, "ROLLBACK", nullptr, nullptr, nullptr);
  else
    sqlite3_exec(db_, ("ROLLBACK TO " + savepoint + "; RELEASE " + savepoint).c_str(), nullptr, nullptr, nullptr);
  after_commit_.resize(after_mark);
  while (rollback_.size() > undo_mark) {
    const auto undo = std::move(rollback_.back());
    rollback_.pop_back();
    try {
      undo();
    } catch (...) {
      // an undo that cannot finish leaves the rest to run
    }
  }
  if (!failure.empty()) imsg_print(IMSG_ERROR, "%s\n", failure);
  lock_->mutex.unlock();
  return status;
}

void Store::OnRollback(std::function<void()> undo) {
  if (depth_ > 0) rollback_.push_back(std::move(undo));
}

void Store::AfterCommit(std::function<void()> work) {
  if (depth_ > 0) after_commit_.push_back(std::move(work));
}

Store* CurrentStore() {
  std::lock_guard lock(g_current_mutex);
  return CurrentStorage().get();
}

int InStore(const std::function<int(Store&)>& work) {
  Store* store = CurrentStore();
  return store ? store->Command(work) : TBS_ST_FAILURE;
}

std::unique_ptr<Store> UseStore(std::unique_ptr<Store> store) {
  std::unique_ptr<Store> previous;
  {
    std::lock_guard lock(g_current_mutex);
    previous = std::move(CurrentStorage());
    CurrentStorage() = std::move(store);
  }
  OnStoreChanged(CurrentStore());
  ApplyStoredDrives(CurrentStore());
  return previous;
}

}  // namespace client_local
