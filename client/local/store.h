#pragma once
// The embedded store of the local implementation: one SQLite database (a
// file under the home of rvdlg, or in memory for tests) that keeps what the
// client calls read and write. Each command runs in one transaction, so a
// command that fails or throws changes nothing.
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

struct sqlite3;
struct sqlite3_stmt;

namespace client_local {

class Store;

// A prepared statement: bind by position (from 1), step, read columns.
class Statement {
 public:
  Statement(Store& store, std::string_view sql);
  ~Statement();
  Statement(const Statement&) = delete;
  Statement& operator=(const Statement&) = delete;

  Statement& Bind(int index, std::int64_t value);
  Statement& Bind(int index, std::string_view text);
  Statement& BindNull(int index);
  // True while a row is there; false at the end. A failure throws StoreError.
  bool Step();
  // Runs a statement that returns no rows.
  void Run();
  std::int64_t Int(int column) const;
  std::string Text(int column) const;
  bool IsNull(int column) const;

 private:
  Store& store_;
  std::vector<sqlite3_stmt*>* idle_ = nullptr;  // where the statement waits for its next use
  sqlite3_stmt* statement_ = nullptr;
};

// A failure of the store: a status of the client libraries and a sentence.
struct StoreError {
  int status;
  std::string message;
};

class Store {
 public:
  // The store in a file, created when missing. Waits up to busy_timeout_ms
  // for another process's lock. Nullptr with a sentence in *error when the
  // file cannot be opened, stays locked, is no database or not one of ours,
  // or was made by a newer program; the file is then left as it was.
  static std::unique_ptr<Store> OpenFile(const std::filesystem::path& path, std::string* error,
                                         int busy_timeout_ms = 5000);
  static std::unique_ptr<Store> OpenMemory();
  ~Store();
  Store(const Store&) = delete;
  Store& operator=(const Store&) = delete;

  int SchemaVersion();
  static int LatestSchemaVersion();
  const std::string& Name() const { return name_; }

  // Runs a command in one transaction: committed when it returns 0, rolled
  // back otherwise. A command inside another joins it as a savepoint that is
  // undone alone when it fails. A store failure becomes its status with the
  // sentence printed as an error; an exception becomes TBS_ST_FAILURE with its text.
  int Command(const std::function<int(Store&)>& command);
  // A command spread over several calls on one thread: Begin opens it (or a
  // savepoint inside another), End commits or undoes it. The thread holds
  // the store in between. Begin and End answer a status; a failed commit
  // undoes the command.
  int Begin();
  int End(bool commit, std::string failure = std::string(), int status = 0);
  // Runs SQL without results (for the schema and tests); throws StoreError.
  void Exec(std::string_view sql);
  // Inside a command: undo runs (latest first) when the command's changes
  // are rolled back, even after it returned 0 and the commit failed, so what
  // it changed outside the database (a view's file) goes back too.
  void OnRollback(std::function<void()> undo);
  // Inside a command: work that runs once the outermost command has
  // committed (in the order given), and never when the change is undone. For
  // what may only follow the commit: a view's file losing its write bit.
  void AfterCommit(std::function<void()> work);

  sqlite3* Handle() const { return db_; }
  [[noreturn]] void Fail(const std::string& what);
  // Prepared statements are kept for reuse by their text: preparing costs
  // more than running most of the store's lookups.
  // Take answers the statement and, in *idle, the list it goes back to (or
  // nullptr when it is not to be kept).
  sqlite3_stmt* TakeStatement(std::string_view sql, std::vector<sqlite3_stmt*>** idle);
  void ReturnStatement(sqlite3_stmt* statement, std::vector<sqlite3_stmt*>* idle);

 private:
  Store(sqlite3* db, std::string name);
  void Migrate();

  sqlite3* db_;
  std::string name_;
  struct Lock;
  std::unique_ptr<Lock> lock_;
  struct StatementCache;
  std::unique_ptr<StatementCache> statements_;
  int depth_ = 0;
  std::vector<std::size_t> undo_marks_;  // rollback_'s size at each open command
  std::vector<std::function<void()>> rollback_;
  std::vector<std::size_t> after_marks_;  // after_commit_'s size at each open command
  std::vector<std::function<void()>> after_commit_;
};

// The store in force for the client calls (nullptr until one is put in).
Store* CurrentStore();
// Runs work in one command of the store in force; TBS_ST_FAILURE without one.
int InStore(const std::function<int(Store&)>& work);
// Puts a store in and returns the one it replaces. Settings and usage data
// move into it.
std::unique_ptr<Store> UseStore(std::unique_ptr<Store> store);

}  // namespace client_local
