#include "cmd_uncheckout.h"

#include <fcntl.h>
#include <unistd.h>

#include <array>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "imsg.h"
#include "local/local_call.h"
#include "platform/pathmap.h"
#include "tbs.h"
#include "view.h"
#include "view_ws.h"
#include "vob.h"

using client_local::LocalCall;
using client_local::NonNull;

namespace {

// The first free name of FILE.keep, FILE.keep.1, ...: an existing file is
// never overwritten (the file is made exclusively).
bool SaveKeepCopy(const std::filesystem::path& file, std::filesystem::path* kept) {
  std::ifstream in(file, std::ios::binary);
  if (!in) return false;
  const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  for (int n = 0; n < 10000; ++n) {
    std::filesystem::path candidate = file;
    candidate += n == 0 ? std::string(".keep") : ".keep." + std::to_string(n);
    const int fd = ::open(candidate.c_str(), O_WRONLY | O_CREAT | O_EXCL, 0644);
    if (fd < 0) {
      if (errno == EEXIST) continue;
      return false;
    }
    const bool written = ::write(fd, text.data(), text.size()) == static_cast<ssize_t>(text.size());
    ::close(fd);
    if (!written) {
      std::filesystem::remove(candidate);
      return false;
    }
    *kept = candidate;
    return true;
  }
  return false;
}

int UndoOne(const char* pathname, bool keep) {
  std::array<char, 1024> view{};
  vob_handle_t vob = 0;
  vob_dbid_t version = 0;
  if (int status = view_ws_lookup_pn(pathname, view.data(), view.size(), &vob, &version)) return status;
  vob_dbid_t element = 0;
  if (int status = vob_ver_get_elem(vob, version, &element)) return status;
  // The element's name in its VOB: the pathname below the view's root.
  const std::string name = pathname;
  const auto through_view = plat::ReadViewName(name);
  const std::string in_vob = through_view ? through_view->InView() : std::string();
  std::filesystem::path kept;
  const auto host = plat::ToHostPath(pathname);
  if (keep && host && std::filesystem::is_regular_file(*host) && !SaveKeepCopy(*host, &kept)) {
    imsg_print(IMSG_ERROR, "Cannot save a copy of \"%s\".\n", name);
    return TBS_ST_FAILURE;
  }
  // The undo and the view's news of it are one command: when either fails,
  // the repository, the view's file and the copy are as they were.
  const int status = client_local::InStore([&](client_local::Store&) {
    if (int rc = vob_utl_uncheckout(vob, in_vob.c_str(), view.data())) return rc;
    return view_inval_obj(view.data(), vob, element);
  });
  if (status) {
    if (!kept.empty()) std::filesystem::remove(kept);  // nothing is left half-done
    return status;
  }
  if (!kept.empty()) {
    const auto kept_name = plat::FromHostPath(kept);
    imsg_print(IMSG_NOTICE, "Private version of \"%s\" saved in \"%s\".\n", name, kept_name.value_or(kept.string()));
  }
  imsg_print(IMSG_NOTICE, "Checkout cancelled for \"%s\".\n", name);
  return TBS_ST_OK;
}

}  // namespace

int cmd_uncheckout(cmd_uncheckout_args_s* args) {
  return LocalCall("cmd_uncheckout",
                   {args && args->pname_count && args->pnames && args->pnames[0] ? args->pnames[0] : "(none)",
                    args ? std::to_string(args->keep) : "(null)"},
                   NonNull(args) && args->version == 2 && args->area != STG_NULL_AREA && args->pnames &&
                       args->pname_count != 0,
                   [&] {
    for (std::uint32_t i = 0; i < args->pname_count; ++i) {
      if (!args->pnames[i]) return TBS_ST_INVALID_ARG;
      if (int status = UndoOne(args->pnames[i], args->keep != 0)) return status;
    }
    return TBS_ST_OK;
  });
}
