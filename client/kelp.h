#pragma once
// The Tracklane integration: the change-request tracker whose records are
// the activities of a Tracklane-enabled project (flm.h). Its calls are
// calls of the client (logged, failable by name, each reading or writing in
// one command of the store). Tracklane is installed while the machine value
// Software\Tracklane\Installed is 1; otherwise every call fails with
// TBS_ST_FAILURE and the message "Tracklane is not installed.". A project
// that is not Tracklane-enabled fails the calls that need its database
// (TBS_ST_FAILURE, with a message). The browser and the new-record form are
// the integration's own dialogs (templates KELP_IDD_*), shown through the UI
// host in force; out-arguments are filled only on success.
#include <string>

#include "flm.h"

namespace plat {
class Window;
}

inline constexpr const char* KELP_INSTALLED_KEY = "Software\\Tracklane";
inline constexpr const char* KELP_INSTALLED_VALUE = "Installed";

// The record browser (a list of every record of the project's database) and
// the new-record form (a record type's headline, which is required, and its
// description).
inline constexpr int KELP_IDD_BROWSER = 32001;
inline constexpr int KELP_IDD_NEW_RECORD = 32002;
inline constexpr int KELP_IDC_RECORDS = 1001;
inline constexpr int KELP_IDC_HEADLINE = 1002;
inline constexpr int KELP_IDC_DESCRIPTION = 1003;
// A record's form, read-only: its id, type, state, headline, description.
inline constexpr int KELP_IDD_RECORD_FORM = 32003;
inline constexpr int KELP_IDC_RECORD_ID = 1004;
inline constexpr int KELP_IDC_RECORD_TYPE = 1005;
inline constexpr int KELP_IDC_RECORD_STATE = 1006;

// The project policy variable that forbids submitting records from the
// client ("1"); set with flm_admin_set_pvar.
inline constexpr const char* KELP_PVAR_NO_SUBMIT = "tl_no_submit";

// The state of a new record, and of a record that is no longer available.
inline constexpr const char* KELP_STATE_SUBMITTED = "Submitted";
inline constexpr const char* KELP_STATE_CLOSED = "Closed";

// Whether Tracklane is installed on this machine; installing or removing it
// sets the machine value (TBS_ST_FAILURE when the registry refuses).
bool kelp_is_installed();
int kelp_set_installed(bool installed);

// A record as the tracker shows it.
struct kelp_record_s {
  FLM_TLEntityID id;
  std::string type, state, headline;
};
// Every record of every database, by database and number.
int kelp_get_records(FLM_List<kelp_record_s>* records);

// A project's Tracklane policies.
class CKelp_TLPolicySettings {
 public:
  CKelp_TLPolicySettings() = default;
  explicit CKelp_TLPolicySettings(bool no_submit) : no_submit_(no_submit) {}
  // Whether records may not be submitted from the client.
  bool GetNoSubmit() const { return no_submit_; }

 private:
  bool no_submit_ = false;
};

class CKelp_CA_GetInfo {
 public:
  // Every record of the project's database, by number.
  static int GetProjectRecords(const FLM_Project& project, FLM_List<kelp_record_s>* records);
  // The records a stream of the project may work on: those of the project's
  // record types that are not Closed and not bound to an activity of another
  // stream, by number; ids and headlines in the same order.
  static int GetAvailTLActivities(const FLM_Project& project, const FLM_Stream& stream, FLM_List<FLM_TLEntityID>* ids,
                                  FLM_StringList* headlines);
};

class CKelp_CA_FLMProject {
 public:
  // The record types a project's activities may have, by name (none is an
  // answer).
  static int GetProjectRecordTypes(const FLM_Project& project, FLM_StringList* types);
  static int GetProjectPolicySettings(const FLM_Project& project, CKelp_TLPolicySettings* settings);
};

class CKelp_CA_TL_UI {
 public:
  // Shows every record of the project's database; *ok tells whether the
  // user chose one (then its id and headline are given).
  static int OpenTLActivityBrowser(const FLM_Project& project, bool* ok, FLM_TLEntityID* id, std::string* headline,
                                   plat::Window* parent = nullptr);
  // Shows the record's form, read-only, until the user closes it.
  static int OpenTLRecordForm(const FLM_TLEntityID& record, plat::Window* parent = nullptr);
  // Asks for a new record of one of the project's types; on OK the record is
  // stored (numbered on from the database's last, state Submitted) and *ok
  // is true with its id and headline.
  static int OpenNewTLActivityForm(const char* record_type, const FLM_Project& project, bool* ok, FLM_TLEntityID* id,
                                   std::string* headline, plat::Window* parent = nullptr);
};
