// Snapshot views' load scopes: the "load" lines of their config spec.
#include "ws.h"

#include <cstring>
#include <mutex>
#include <set>
#include <string>
#include <vector>

#include "configspec.h"
#include "local/local_call.h"
#include "local/view_root.h"
#include "local/vob_repo.h"
#include "platform/text.h"
#include "sysutl.h"

using client_local::InStore;
using client_local::LocalCall;
using client_local::Statement;
using client_local::Store;
using client_local::repo::Num;
using client_local::repo::kNameBufferSize;
namespace views = client_local::views;

struct ws_handle {
  std::string tag;
};

namespace {

std::mutex g_mutex;
std::set<ws_handle*>& Handles() {
  static auto* handles = new std::set<ws_handle*>();
  return *handles;
}

bool TagOf(ws_handle_t ws, std::string* tag) {
  std::lock_guard lock(g_mutex);
  if (!ws || !Handles().count(ws)) return false;
  *tag = ws->tag;
  return true;
}

char* Dup(const std::string& text) {
  char* copy = new char[text.size() + 1];
  std::memcpy(copy, text.c_str(), text.size() + 1);
  return copy;
}

// A list's texts as the caller's array (freed with FreeAll).
char** DupAll(const std::vector<std::string>& texts) {
  char** copies = new char*[texts.empty() ? 1 : texts.size()];
  for (std::size_t i = 0; i < texts.size(); ++i) copies[i] = Dup(texts[i]);
  return copies;
}

void FreeAll(char** texts, std::size_t count) {
  for (std::size_t i = 0; i < count; ++i) delete[] texts[i];
  delete[] texts;
}

}  // namespace

int ws_get_handle_by_viewh(view_handle_t view, ws_handle_t* ws) {
  return LocalCall("ws_get_handle_by_viewh", {}, true, [&] {
    char tag[kNameBufferSize];
    if (!ws || view_handle_get_tag(view, tag, sizeof tag) != TBS_ST_OK) return TBS_ST_INVALID_ARG;
    *ws = nullptr;
    const int rc = InStore([&](Store& s) {
      const auto row = views::LoadView(s, tag);
      if (!row) return TBS_ST_NOT_FOUND;
      return row->snapshot ? TBS_ST_OK : TBS_ST_WRONG_KIND;
    });
    if (rc == TBS_ST_OK) {
      auto* handle = new ws_handle{tag};
      std::lock_guard lock(g_mutex);
      Handles().insert(handle);
      *ws = handle;
    }
    return rc;
  });
}

int ws_free_handle(ws_handle_t ws) {
  return LocalCall("ws_free_handle", {}, true, [&] {
    {
      std::lock_guard lock(g_mutex);
      if (!ws || Handles().erase(ws) == 0) return TBS_ST_INVALID_ARG;
    }
    delete ws;
    return TBS_ST_OK;
  });
}

int ws_get_scopes(ws_handle_t ws, ws_scopes_t** scopes) {
  return LocalCall("ws_get_scopes", {}, true, [&] {
    std::string tag;
    if (!scopes || !TagOf(ws, &tag)) return TBS_ST_INVALID_ARG;
    *scopes = nullptr;
    std::vector<std::string> found;
    const int rc = InStore([&](Store& s) {
      const auto row = views::LoadView(s, tag);
      if (!row) return TBS_ST_NOT_FOUND;
      configspec_t spec;
      std::string error;
      if (int parsed = configspec_parse(row->spec.c_str(), &spec, &error); parsed != TBS_ST_OK) return parsed;
      found = spec.load_rules;
      return TBS_ST_OK;
    });
    if (rc != TBS_ST_OK) return rc;
    auto* result = new ws_scopes_t;
    result->count = found.size();
    result->scopes = DupAll(found);
    *scopes = result;
    return rc;
  });
}

void ws_free_scopes(ws_scopes_t* scopes) {
  if (!scopes) return;
  FreeAll(scopes->scopes, scopes->count);
  delete scopes;
}

int ws_load_scopes(ws_handle_t ws, const char* const* scopes, std::size_t count) {
  return LocalCall("ws_load_scopes", {Num(static_cast<std::int64_t>(count))}, true, [&] {
    std::string tag;
    if ((!scopes && count) || !TagOf(ws, &tag)) return TBS_ST_INVALID_ARG;
    return InStore([&](Store& s) {
      const auto row = views::LoadView(s, tag);
      if (!row) return TBS_ST_NOT_FOUND;
      // The element rules stay as written; the load lines are replaced.
      std::string text;
      std::size_t start = 0;
      const std::string& old = row->spec;
      while (start < old.size()) {
        std::size_t end = old.find('\n', start);
        if (end == std::string::npos) end = old.size();
        const std::string line = old.substr(start, end - start);
        start = end + 1;
        const std::size_t first = line.find_first_not_of(" \t");
        if (first != std::string::npos && line.compare(first, 5, "load ") == 0) continue;
        text += line + "\n";
      }
      for (std::size_t i = 0; i < count; ++i) {
        if (!scopes[i]) return TBS_ST_INVALID_ARG;
        text += "load " + std::string(scopes[i]) + "\n";
      }
      configspec_t spec;
      std::string error;
      if (configspec_parse(text.c_str(), &spec, &error) != TBS_ST_OK) {
        client_local::repo::Complain(error);
        return TBS_ST_INVALID_ARG;
      }
      Statement q(s, "UPDATE views SET spec = ?2 WHERE tag = ?1");
      q.Bind(1, tag).Bind(2, text).Run();
      views::RefreshRoot(s, tag);
      return TBS_ST_OK;
    });
  });
}

int ws_get_registered_list(ws_registered_list_t** list) {
  return client_local::LocalCall("ws_get_registered_list", {}, client_local::NonNull(list), [&](Store& s) {
    char host[kNameBufferSize] = "";
    sysutl_myhostname(host, sizeof host);
    std::vector<std::string> tags;
    Statement q(s, "SELECT tag, host FROM views WHERE snapshot = 1 ORDER BY rowid");
    while (q.Step())
      if (plat::IEquals(q.Text(1), host)) tags.push_back(q.Text(0));
    auto* made = new ws_registered_list_t;
    made->count = tags.size();
    made->tags = DupAll(tags);
    *list = made;
    return TBS_ST_OK;
  });
}

void ws_free_registered_list(ws_registered_list_t* list) {
  if (!list) return;
  FreeAll(list->tags, list->count);
  delete list;
}
