// The Tracklane stand-in of the local implementation: records and record
// types in the store, its dialogs in a resource module of its own.
#include "kelp.h"

#include <string>

#include "local/flm_repo.h"
#include "local/local_call.h"
#include "platform/controls.h"
#include "platform/dialog.h"
#include "platform/registry.h"
#include "platform/resources.h"
#include "platform/types.h"

using client_local::InStore;
using client_local::LocalCall;
using client_local::NonNull;
using client_local::Statement;
using client_local::Store;
using namespace client_local::repo;
using namespace client_local::flm;

namespace {

plat::ControlTemplate Control(const char* cls, int id, const char* text, std::uint32_t style = 0) {
  return plat::ControlTemplate{cls, id, text, style | plat::ws::TabStop};
}

// Made once and never freed, like every module a dialog may still search.
plat::ResourceModule& KelpResources() {
  static auto* module = [] {
    auto* m = new plat::ResourceModule("tracklane");
    plat::DialogTemplate browser;
    browser.id = KELP_IDD_BROWSER;
    browser.caption = "Tracklane Records";
    browser.controls = {Control("listview", KELP_IDC_RECORDS, "", plat::lvs::Report | plat::lvs::SingleSel),
                        Control("button", plat::IdOk, "OK", plat::bs::DefPushButton),
                        Control("button", plat::IdCancel, "Cancel", plat::bs::PushButton)};
    m->AddDialog(std::move(browser));
    plat::DialogTemplate form;
    form.id = KELP_IDD_NEW_RECORD;
    form.caption = "New Tracklane Record";
    form.controls = {Control("static", plat::IdStatic, "&Headline:"),
                     Control("edit", KELP_IDC_HEADLINE, ""),
                     Control("static", plat::IdStatic, "&Description:"),
                     Control("edit", KELP_IDC_DESCRIPTION, "", plat::es::MultiLine),
                     Control("button", plat::IdOk, "OK", plat::bs::DefPushButton),
                     Control("button", plat::IdCancel, "Cancel", plat::bs::PushButton)};
    m->AddDialog(std::move(form));
    plat::DialogTemplate shown;
    shown.id = KELP_IDD_RECORD_FORM;
    shown.caption = "Tracklane Record";
    const std::uint32_t read_only = plat::es::ReadOnly;
    shown.controls = {Control("static", plat::IdStatic, "ID:"), Control("edit", KELP_IDC_RECORD_ID, "", read_only),
                      Control("static", plat::IdStatic, "Type:"), Control("edit", KELP_IDC_RECORD_TYPE, "", read_only),
                      Control("static", plat::IdStatic, "State:"), Control("edit", KELP_IDC_RECORD_STATE, "", read_only),
                      Control("static", plat::IdStatic, "Headline:"), Control("edit", KELP_IDC_HEADLINE, "", read_only),
                      Control("static", plat::IdStatic, "Description:"),
                      Control("edit", KELP_IDC_DESCRIPTION, "", plat::es::MultiLine | read_only),
                      Control("button", plat::IdOk, "Close", plat::bs::DefPushButton)};
    m->AddDialog(std::move(shown));
    return m;
  }();
  return *module;
}

// The check every call makes first.
int NeedInstalled() {
  if (kelp_is_installed()) return TBS_ST_OK;
  Complain("Tracklane is not installed.");
  return TBS_ST_FAILURE;
}

// The Tracklane database of a project, which must be enabled.
int NeedDatabase(Store& s, const FLM_Project& project, std::string* database) {
  Object o;
  if (int rc = NeedObject(s, project, {VOB_MTYPE_PROJECT}, &o); rc != TBS_ST_OK) return rc;
  *database = FactText(s, "SELECT tl_database FROM flm_projects WHERE vob = ?1 AND project = ?2", o.vob, o.dbid);
  if (!database->empty()) return TBS_ST_OK;
  Complain("The project \"" + o.name + "\" is not Tracklane-enabled.");
  return TBS_ST_FAILURE;
}

// Every record of the project's database, by number.
int ReadProjectRecords(Store& s, const FLM_Project& project, FLM_List<kelp_record_s>* records) {
  std::string database;
  if (int rc = NeedDatabase(s, project, &database); rc != TBS_ST_OK) return rc;
  Statement q(s, "SELECT number, type, state, headline FROM tl_records WHERE db = ?1 ORDER BY number");
  q.Bind(1, database);
  while (q.Step())
    records->append({FLM_TLEntityID(database, static_cast<long>(q.Int(0))), q.Text(1), q.Text(2), q.Text(3)});
  return TBS_ST_OK;
}

bool Blank(const std::string& text) { return text.find_first_not_of(" \t\r\n") == std::string::npos; }

class BrowserDialog : public plat::Dialog {
 public:
  BrowserDialog(FLM_List<kelp_record_s> records, plat::Window* parent)
      : plat::Dialog(KELP_IDD_BROWSER, parent), records_(std::move(records)) {
    LoadTemplate();
  }
  const kelp_record_s* Chosen() const { return chosen_; }

 protected:
  bool OnInitDialog() override {
    plat::Dialog::OnInitDialog();
    auto* list = Item<plat::ListView>(KELP_IDC_RECORDS);
    if (!list) return true;
    for (const char* column : {"ID", "Type", "State", "Headline"}) list->InsertColumn(-1, column);
    for (std::size_t i = 0; i < records_.length(); ++i) {
      const kelp_record_s& record = records_[i];
      const int row = list->InsertItem(-1, record.id.display_name());
      list->SetItemText(row, 1, record.type);
      list->SetItemText(row, 2, record.state);
      list->SetItemText(row, 3, record.headline);
      list->SetItemData(row, i);
    }
    return true;
  }
  void OnOK() override {
    const auto* list = Item<plat::ListView>(KELP_IDC_RECORDS);
    const std::vector<int> selected = list ? list->GetSelected() : std::vector<int>();
    if (selected.empty()) {
      plat::MessageBox(this, "Choose a record.", "Tracklane", plat::mb::Ok | plat::mb::IconWarning);
      return;
    }
    chosen_ = &records_[list->GetItemData(selected.front())];
    plat::Dialog::OnOK();
  }

 private:
  const FLM_List<kelp_record_s> records_;
  const kelp_record_s* chosen_ = nullptr;
};

class NewRecordDialog : public plat::Dialog {
 public:
  NewRecordDialog(std::string type, plat::Window* parent)
      : plat::Dialog(KELP_IDD_NEW_RECORD, parent), type_(std::move(type)) {
    LoadTemplate();
  }
  std::string headline, description;

 protected:
  bool OnInitDialog() override {
    plat::Dialog::OnInitDialog();
    SetText("New " + type_);
    return true;
  }
  void OnOK() override {
    if (Blank(GetDlgItemText(KELP_IDC_HEADLINE))) {
      plat::MessageBox(this, "A headline is required.", "Tracklane", plat::mb::Ok | plat::mb::IconWarning);
      return;
    }
    headline = GetDlgItemText(KELP_IDC_HEADLINE);
    description = GetDlgItemText(KELP_IDC_DESCRIPTION);
    plat::Dialog::OnOK();
  }

 private:
  const std::string type_;
};

class RecordFormDialog : public plat::Dialog {
 public:
  RecordFormDialog(kelp_record_s record, std::string description, plat::Window* parent)
      : plat::Dialog(KELP_IDD_RECORD_FORM, parent), record_(std::move(record)), description_(std::move(description)) {
    LoadTemplate();
  }

 protected:
  bool OnInitDialog() override {
    plat::Dialog::OnInitDialog();
    SetText(record_.id.display_name());
    SetDlgItemText(KELP_IDC_RECORD_ID, record_.id.display_name());
    SetDlgItemText(KELP_IDC_RECORD_TYPE, record_.type);
    SetDlgItemText(KELP_IDC_RECORD_STATE, record_.state);
    SetDlgItemText(KELP_IDC_HEADLINE, record_.headline);
    SetDlgItemText(KELP_IDC_DESCRIPTION, description_);
    return true;
  }

 private:
  const kelp_record_s record_;
  const std::string description_;
};

}  // namespace

bool kelp_is_installed() {
  const auto key = plat::RegKey::Open(plat::Hive::LocalMachine, KELP_INSTALLED_KEY);
  return key && key.value().QueryDword(KELP_INSTALLED_VALUE) == 1u;
}

int kelp_set_installed(bool installed) {
  return LocalCall("kelp_set_installed", {Num(installed)}, true, [&] {
    auto key = plat::RegKey::Create(plat::Hive::LocalMachine, KELP_INSTALLED_KEY);
    if (!key || !key.value().SetDword(KELP_INSTALLED_VALUE, installed ? 1u : 0u)) {
      Complain("The machine value " + std::string(KELP_INSTALLED_KEY) + "\\" + KELP_INSTALLED_VALUE +
               " cannot be written.");
      return TBS_ST_FAILURE;
    }
    return TBS_ST_OK;
  });
}

int kelp_get_records(FLM_List<kelp_record_s>* records) {
  return LocalCall("kelp_get_records", {}, NonNull(records), [&] {
    if (int rc = NeedInstalled(); rc != TBS_ST_OK) return rc;
    return InStore([&](Store& s) {
      FLM_List<kelp_record_s> found;
      Statement q(s, "SELECT db, number, type, state, headline FROM tl_records ORDER BY db, number");
      while (q.Step())
        found.append({FLM_TLEntityID(q.Text(0), static_cast<long>(q.Int(1))), q.Text(2), q.Text(3), q.Text(4)});
      *records = found;
      return TBS_ST_OK;
    });
  });
}

int CKelp_CA_GetInfo::GetAvailTLActivities(const FLM_Project& project, const FLM_Stream& stream,
                                           FLM_List<FLM_TLEntityID>* ids, FLM_StringList* headlines) {
  return LocalCall(
      "CKelp_CA_GetInfo::GetAvailTLActivities", {Num(project.dbid()), Num(stream.dbid())},
      NonNull(ids, headlines) && !project.is_null() && !stream.is_null(), [&] {
        if (int rc = NeedInstalled(); rc != TBS_ST_OK) return rc;
        return InStore([&](Store& s) {
          std::string database;
          if (int rc = NeedDatabase(s, project, &database); rc != TBS_ST_OK) return rc;
          if (int rc = NeedObject(s, stream, {VOB_MTYPE_STREAM}); rc != TBS_ST_OK) return rc;
          Statement q(s,
                      "SELECT r.number, r.headline FROM tl_records r WHERE r.db = ?1 AND r.state != ?2"
                      " AND r.type IN (SELECT type FROM tl_project_types WHERE vob = ?3 AND project = ?4)"
                      " AND NOT EXISTS (SELECT 1 FROM flm_activities a WHERE a.tl_database = r.db"
                      " AND a.tl_number = r.number AND NOT (a.vob = ?3 AND a.stream = ?5)) ORDER BY r.number");
          q.Bind(1, database).Bind(2, std::string(KELP_STATE_CLOSED)).Bind(3, project.vob()).Bind(4, project.dbid());
          q.Bind(5, stream.dbid());
          FLM_List<FLM_TLEntityID> found_ids;
          FLM_StringList found_headlines;
          while (q.Step()) {
            found_ids.append(FLM_TLEntityID(database, static_cast<long>(q.Int(0))));
            found_headlines.append(q.Text(1));
          }
          *ids = found_ids;
          *headlines = found_headlines;
          return TBS_ST_OK;
        });
      });
}

int CKelp_CA_GetInfo::GetProjectRecords(const FLM_Project& project, FLM_List<kelp_record_s>* records) {
  return LocalCall("CKelp_CA_GetInfo::GetProjectRecords", {Num(project.dbid())}, NonNull(records) && !project.is_null(),
                   [&] {
    if (int rc = NeedInstalled(); rc != TBS_ST_OK) return rc;
    return InStore([&](Store& s) {
      FLM_List<kelp_record_s> found;
      if (int rc = ReadProjectRecords(s, project, &found); rc != TBS_ST_OK) return rc;
      *records = found;
      return TBS_ST_OK;
    });
  });
}

int CKelp_CA_FLMProject::GetProjectPolicySettings(const FLM_Project& project, CKelp_TLPolicySettings* settings) {
  return LocalCall("CKelp_CA_FLMProject::GetProjectPolicySettings", {Num(project.dbid())},
                   NonNull(settings) && !project.is_null(), [&] {
    if (int rc = NeedInstalled(); rc != TBS_ST_OK) return rc;
    return InStore([&](Store& s) {
      std::string database;
      if (int rc = NeedDatabase(s, project, &database); rc != TBS_ST_OK) return rc;
      Statement q(s, "SELECT value FROM flm_pvars WHERE vob = ?1 AND obj = ?2 AND name = ?3");
      q.Bind(1, project.vob()).Bind(2, project.dbid()).Bind(3, std::string(KELP_PVAR_NO_SUBMIT));
      *settings = CKelp_TLPolicySettings(q.Step() && q.Text(0) == "1");
      return TBS_ST_OK;
    });
  });
}

int CKelp_CA_FLMProject::GetProjectRecordTypes(const FLM_Project& project, FLM_StringList* types) {
  return LocalCall(
      "CKelp_CA_FLMProject::GetProjectRecordTypes", {Num(project.dbid())}, NonNull(types) && !project.is_null(), [&] {
        if (int rc = NeedInstalled(); rc != TBS_ST_OK) return rc;
        return InStore([&](Store& s) {
          std::string database;
          if (int rc = NeedDatabase(s, project, &database); rc != TBS_ST_OK) return rc;
          Statement q(s, "SELECT type FROM tl_project_types WHERE vob = ?1 AND project = ?2 ORDER BY type");
          q.Bind(1, project.vob()).Bind(2, project.dbid());
          FLM_StringList found;
          while (q.Step()) found.append(q.Text(0));
          *types = found;
          return TBS_ST_OK;
        });
      });
}

int CKelp_CA_TL_UI::OpenTLActivityBrowser(const FLM_Project& project, bool* ok, FLM_TLEntityID* id,
                                          std::string* headline, plat::Window* parent) {
  return LocalCall("CKelp_CA_TL_UI::OpenTLActivityBrowser", {Num(project.dbid())},
                   NonNull(ok, id, headline) && !project.is_null(), [&] {
    if (int rc = NeedInstalled(); rc != TBS_ST_OK) return rc;
    FLM_List<kelp_record_s> records;
    const int read = InStore([&](Store& s) { return ReadProjectRecords(s, project, &records); });
    if (read != TBS_ST_OK) return read;
    // The dialog runs outside any command of the store.
    plat::ResourceScope resources(KelpResources());
    BrowserDialog dialog(std::move(records), parent);
    const bool chosen = dialog.DoModal() == plat::IdOk && dialog.Chosen();
    *ok = chosen;
    if (chosen) {
      *id = dialog.Chosen()->id;
      *headline = dialog.Chosen()->headline;
    }
    return TBS_ST_OK;
  });
}

int CKelp_CA_TL_UI::OpenTLRecordForm(const FLM_TLEntityID& record, plat::Window* parent) {
  return LocalCall("CKelp_CA_TL_UI::OpenTLRecordForm", {Text(record.display_name().c_str())}, !record.is_null(), [&] {
    if (int rc = NeedInstalled(); rc != TBS_ST_OK) return rc;
    kelp_record_s shown;
    std::string description;
    const int read = InStore([&](Store& s) {
      Statement q(s, "SELECT type, state, headline, description FROM tl_records WHERE db = ?1 AND number = ?2");
      q.Bind(1, record.database()).Bind(2, static_cast<std::int64_t>(record.number()));
      if (!q.Step()) {
        Complain("There is no Tracklane record " + record.display_name() + ".");
        return TBS_ST_NOT_FOUND;
      }
      shown = {record, q.Text(0), q.Text(1), q.Text(2)};
      description = q.Text(3);
      return TBS_ST_OK;
    });
    if (read != TBS_ST_OK) return read;
    plat::ResourceScope resources(KelpResources());
    RecordFormDialog dialog(shown, description, parent);
    dialog.DoModal();
    return TBS_ST_OK;
  });
}

int CKelp_CA_TL_UI::OpenNewTLActivityForm(const char* record_type, const FLM_Project& project, bool* ok,
                                          FLM_TLEntityID* id, std::string* headline, plat::Window* parent) {
  return LocalCall("CKelp_CA_TL_UI::OpenNewTLActivityForm", {Text(record_type), Num(project.dbid())},
                   NonNull(record_type, ok, id, headline) && !project.is_null(), [&] {
                     if (int rc = NeedInstalled(); rc != TBS_ST_OK) return rc;
                     std::string database;
                     const int read = InStore([&](Store& s) {
                       if (int rc = NeedDatabase(s, project, &database); rc != TBS_ST_OK) return rc;
                       Statement q(s, "SELECT 1 FROM tl_project_types WHERE vob = ?1 AND project = ?2 AND type = ?3");
                       q.Bind(1, project.vob()).Bind(2, project.dbid()).Bind(3, std::string(record_type));
                       if (q.Step()) return TBS_ST_OK;
                       Complain("The project has no record type \"" + std::string(record_type) + "\".");
                       return TBS_ST_NOT_FOUND;
                     });
                     if (read != TBS_ST_OK) return read;
                     plat::ResourceScope resources(KelpResources());
                     NewRecordDialog dialog(record_type, parent);
                     if (dialog.DoModal() != plat::IdOk) {
                       *ok = false;
                       return TBS_ST_OK;
                     }
                     FLM_TLEntityID made;
                     const int stored = InStore([&](Store& s) {
                       made = AddRecord(s, database, record_type, KELP_STATE_SUBMITTED, dialog.headline,
                                        dialog.description);
                       return made.is_null() ? TBS_ST_NOT_FOUND : TBS_ST_OK;
                     });
                     if (stored != TBS_ST_OK) return stored;
                     *ok = true;
                     *id = made;
                     *headline = dialog.headline;
                     return TBS_ST_OK;
                   });
}
