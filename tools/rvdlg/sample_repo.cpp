// The sample repository of `rvdlg init`.
#include "sample_repo.h"

#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <iterator>
#include <system_error>
#include <utility>
#include <vector>

#include <cstdio>

#include "cmd_utl.h"
#include "flm_admin.h"
#include "fileutl_file.h"
#include "ntregy.h"
#include "platform/pathmap.h"
#include "tbs.h"
#include "tsl.h"
#include "view.h"
#include "vob.h"
#include "vob_admin.h"
#include "vob_attr.h"
#include "vob_type.h"
#include "vob_hlink.h"
#include "vob_ob.h"
#include "vob_val.h"

namespace rvdlg {

namespace {

constexpr const char* kBuilder = "rvdlg_init";  // the view that makes the versions

using Step = SampleSteps;

// Checks in each text as the next version of the element on its branch.
int AddVersions(vob_handle_t vob, const std::string& path, vob_dbid_t branch_or_elem,
                std::initializer_list<const char*> texts, std::vector<vob_dbid_t>* made) {
  for (const char* text : texts) {
    vob_dbid_t out = 0, version = 0;
    if (int rc = cmd_utl_checkout(vob, branch_or_elem, kBuilder, 1, "sample edit", &out)) return rc;
    if (int rc = vob_ver_set_contents(vob, out, text)) return rc;
    if (int rc = vob_utl_checkin(vob, path.c_str(), kBuilder, "sample version", &version)) return rc;
    if (made) made->push_back(version);
  }
  return 0;
}

// Files of a view that are no elements (their directories made as needed).
int WritePrivateFiles(std::initializer_list<std::pair<const char*, const char*>> files) {
  for (const auto& [name, text] : files) {
    const auto path = plat::ToHostPath(name);
    if (!path) return TBS_ST_PNAME_CONVERSION;
    std::error_code error;
    std::filesystem::create_directories(path->parent_path(), error);
    std::ofstream out(*path, std::ios::binary | std::ios::trunc);
    out << text;
    out.close();
    if (error || !out) return TBS_ST_FAILURE;
  }
  return 0;
}

}  // namespace

int BuildSampleVobs(std::string* what) {
  Step step{what};
  vob_handle_t pub = 0, priv = 0;
  vob_dbid_t src = 0, doc = 0, hello = 0, util = 0, readme = 0, notes = 0, dev = 0, merge = 0, attype = 0;
  std::vector<vob_dbid_t> hello_v, util_v, dev_v;
  step("making the VOB \\public", [&] { return vob_create("\\public", "the sample VOB", &pub); })
      ("making \\public\\src", [&] { return vob_mkelem(pub, "\\src", 1, "sources", &src); })
      ("making \\public\\doc", [&] { return vob_mkelem(pub, "\\doc", 1, "documents", &doc); })
      ("making hello.c", [&] { return vob_mkelem(pub, "\\src\\hello.c", 0, "the greeting", &hello); })
      ("making util.c", [&] { return vob_mkelem(pub, "\\src\\util.c", 0, "helpers", &util); })
      ("making README.txt", [&] { return vob_mkelem(pub, "\\doc\\README.txt", 0, "read me", &readme); })
      ("checking in hello.c", [&] {
        return AddVersions(pub, "\\public\\src\\hello.c", hello,
                           {"#include <stdio.h>\nint main(void) { puts(\"hello\"); return 0; }\n",
                            "#include <stdio.h>\nint main(void) { puts(\"hello, world\"); return 0; }\n"},
                           &hello_v);
      })
      ("checking in util.c", [&] {
        return AddVersions(pub, "\\public\\src\\util.c", util,
                           {"int twice(int n) { return 2 * n; }\n",
                            "int twice(int n) { return 2 * n; }\nint thrice(int n) { return 3 * n; }\n"},
                           &util_v);
      })
      ("checking in README.txt", [&] {
        return AddVersions(pub, "\\public\\doc\\README.txt", readme,
                           {"The sample VOB of rvdlg.\n", "The sample VOB of rvdlg.\nsrc holds the sources.\n"},
                           nullptr);
      })
      ("making the label types", [&] {
        int rc = vob_mktype(pub, VOB_MTYPE_LBTYPE, "REL1", "release 1", nullptr);
        return rc ? rc : vob_mktype(pub, VOB_MTYPE_LBTYPE, "REL2", "release 2", nullptr);
      })
      ("labelling", [&] {
        int rc = vob_ver_add_label(pub, hello_v.at(0), "REL1");
        if (!rc) rc = vob_ver_add_label(pub, util_v.at(0), "REL1");
        if (!rc) rc = vob_ver_add_label(pub, hello_v.at(1), "REL2");
        return rc ? rc : vob_ver_add_label(pub, util_v.at(1), "REL2");
      })
      ("making the branch dev", [&] {
        int rc = vob_mktype(pub, VOB_MTYPE_BRTYPE, "dev", "development", nullptr);
        return rc ? rc : vob_mkbranch(pub, hello_v.at(0), "dev", "work on the greeting", &dev);
      })
      ("checking in on dev", [&] {
        return AddVersions(pub, "\\public\\src\\hello.c", dev,
                           {"#include <stdio.h>\nint main(void) { puts(\"hello from dev\"); return 0; }\n"}, &dev_v);
      })
      ("making the hyperlink", [&] {
        return vob_hlink_create(pub, "Merge", pub, dev_v.at(0), pub, hello_v.at(1), "", "", &merge);
      })
      ("making the attribute", [&] {
        int rc = vob_attype_create(pub, "Status", VOB_VAL_STRING, "review state", &attype);
        if (rc) return rc;
        vob_value_s value;
        rc = vob_val_str_to_value(VOB_VAL_STRING, "\"reviewed\"", &value);
        if (rc) return rc;
        rc = vob_obj_add_attr(pub, hello_v.at(1), "Status", &value);
        vob_val_free_value(&value);
        return rc;
      })
      ("making the attribute type Priority", [&] {
        vob_dbid_t priority = 0;
        int rc = vob_attype_create(pub, "Priority", VOB_VAL_INTEGER, "how urgent the work is", &priority);
        if (rc) return rc;
        vob_attype_vinfo_s rules;
        rc = vob_attype_strs_to_vinfo(VOB_VAL_INTEGER, "1", "5", 1, 1, "3", nullptr, 0, &rules);
        if (rc) return rc;
        vob_type_def_s def;
        def.occurs = VOB_OCCURS_VER_PER_VER;
        rc = vob_attype_redefine(pub, priority, &def, &rules);
        vob_attype_free_vinfo(&rules);
        return rc;
      })
      ("making the VOB \\private", [&] { return vob_create("\\private", "the private sample VOB", &priv); })
      ("making notes.txt", [&] { return vob_mkelem(priv, "\\notes.txt", 0, "notes", &notes); })
      ("checking in notes.txt", [&] {
        return AddVersions(priv, "\\private\\notes.txt", notes, {"Private notes.\n"}, nullptr);
      });
  return step.status;
}

int BuildSampleView(std::string* what) {
  Step step{what};
  vob_handle_t pub = 0;
  vob_dbid_t util = 0, readme = 0;
  step("making the view sample_view", [&] { return view_create(kSampleView, 0, "the sample view"); })
      ("finding util.c", [&] {
        int rc = vob_lookup_tag("\\public", &pub);
        return rc ? rc : vob_resolve_elem(pub, "\\src\\util.c", &util);
      })
      ("checking out util.c", [&] { return cmd_utl_checkout(pub, util, kSampleView, 1, "sample work", nullptr); })
      ("checking out README.txt", [&] {
        int rc = vob_resolve_elem(pub, "\\doc\\README.txt", &readme);
        return rc ? rc : cmd_utl_checkout(pub, readme, kSampleView, 0, "sample notes", nullptr);
      })
      ("editing README.txt in sample_view", [&] {
        const auto file = plat::Home() / "views" / kSampleView / "public" / "doc" / "README.txt";
        std::ifstream in(file, std::ios::binary);
        const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        in.close();
        std::ofstream out(file, std::ios::binary | std::ios::trunc);
        out << "README of the sample.\n" << text;
        out.close();
        return out ? 0 : TBS_ST_FAILURE;
      })
      ("checking in a later README.txt", [&] {
        return AddVersions(pub, "\\public\\doc\\README.txt", readme,
                           {"The sample VOB of rvdlg.\nsrc holds the sources.\ndoc holds the documents.\n"}, nullptr);
      })
      ("writing the view-private extra.c and tools", [&] {
        return WritePrivateFiles({{"\\\\view\\sample_view\\public\\src\\extra.c", "int extra(void) { return 42; }\n"},
                                  {"\\\\view\\sample_view\\public\\tools\\build.sh", "#!/bin/sh\necho building\n"}});
      });
  return step.status;
}

int BuildRel1ViewAndReplica(std::string* what) {
  Step step{what};
  vob_handle_t pub = 0, priv = 0;
  vob_dbid_t readme = 0, main_branch = 0, remote = 0;
  view_handle_t view = 0;
  step("making the view rel1_view", [&] { return view_create(kRel1View, 0, "the view of release 1"); })
      ("setting the rules of rel1_view", [&] {
        int rc = view_get_handle_by_tag(kRel1View, &view);
        if (rc) return rc;
        char spec[1100];
        std::FILE* file = fileutl_tmpfile_ext("cs", spec, sizeof spec);
        if (!file) rc = TBS_ST_FAILURE;
        if (!rc) {
          std::fputs("element * CHECKEDOUT\nelement * REL1\nelement * \\main\\LATEST\n", file);
          rc = fileutl_fclose(file) == 0 ? view_set_spec(view, spec) : TBS_ST_FAILURE;
          fileutl_rm(spec);
          if (!rc) rc = view_inval_view(view);  // the directory shows the rules
        }
        view_free_handle(view);
        return rc;
      })
      ("checking out README.txt in rel1_view", [&] {
        int rc = vob_lookup_tag("\\public", &pub);
        if (!rc) rc = vob_resolve_elem(pub, "\\doc\\README.txt", &readme);
        return rc ? rc : cmd_utl_checkout(pub, readme, kRel1View, 0, "release notes", nullptr);
      })
      ("making the replica remote of \\private", [&] {
        int rc = vob_lookup_tag("\\private", &priv);
        if (!rc) rc = vob_replica_create(priv, kRemoteReplica, "the replica elsewhere", &remote);
        std::uint32_t mtype = 0;
        if (!rc) rc = vob_resolve_general(priv, "\\notes.txt@@\\main", &main_branch, &mtype);
        return rc ? rc : vob_obj_set_master(priv, main_branch, remote);
      })
      ("allowing mastership requests", [&] { return ntregy_set_param(TSL_PARAM_REQMASTER_ENABLED, "1"); });
  return step.status;
}

int BuildGeneralPagesSample(std::string* what) {
  Step step{what};
  vob_handle_t pub = 0;
  vob_dbid_t readme = 0;
  step("making the link latest.txt", [&] {
    int rc = vob_lookup_tag("\\public", &pub);
    return rc ? rc : vob_mkslink(pub, "\\doc\\latest.txt", "README.txt", "the latest notes", nullptr);
  })
      ("making the derived object hello.o", [&] { return vob_mkdo(pub, "\\src\\hello.o", "hello object", nullptr); })
      ("making the view old_view", [&] { return view_create(kOldView, 0, "a view that was removed"); })
      ("checking out README.txt in old_view", [&] {
        int rc = vob_resolve_elem(pub, "\\doc\\README.txt", &readme);
        return rc ? rc : cmd_utl_checkout(pub, readme, kOldView, 0, "old notes", nullptr);
      })
      ("removing the view old_view", [] { return view_remove(kOldView); });
  return step.status;
}

int RemoveSampleRepository(std::string* what) {
  Step step{what};
  std::vector<const char*> views = {kSampleView, kRel1View, kOldView};
  views.insert(views.end(), std::begin(kStreamViews), std::end(kStreamViews));
  views.insert(views.end(), std::begin(kListViews), std::end(kListViews));
  for (const char* view : views)
    step(std::string("removing the view ") + view, [&] {
      const int rc = view_remove(view);
      return rc == TBS_ST_NOT_FOUND ? 0 : rc;
    });
  step("removing the Tracklane database SAMPL", [] { return flm_admin_rm_tl_database("SAMPL"); });
  for (const char* tag : {"\\public", "\\private", "\\projects"}) {
    step(std::string("removing the VOB ") + tag, [&] {
      vob_handle_t vob = 0;
      if (vob_lookup_tag(tag, &vob) != 0) return 0;
      return vob_rmvob(vob);
    });
  }
  return step.status;
}

}  // namespace rvdlg
