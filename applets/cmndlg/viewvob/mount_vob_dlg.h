#pragma once
// Mount and Unmount: VOBs picked from the tags of the default region that
// are not mounted (or are mounted) on this host, mounted (or unmounted) one
// by one. Mounting can register a VOB to be mounted again at logon;
// unmounting always drops that registration.
#include <cstdint>
#include <string>
#include <vector>

#include "platform/dialog.h"
#include "viewvob/vob_list_box.h"

class GCL_Status;

// What became of one VOB: its tag, 0 succeeded, 1 failed or 2 not
// processed, and what the user was told.
struct VobOutcome {
  static constexpr int kSucceeded = 0, kFailed = 1, kNotProcessed = 2;
  std::string tag;
  int status = kNotProcessed;
  std::string messages;
};

class CVobMountDialogBase : public plat::Dialog {
 public:
  ~CVobMountDialogBase() override;
  CVobMountDialogBase(const CVobMountDialogBase&) = delete;
  CVobMountDialogBase& operator=(const CVobMountDialogBase&) = delete;

  // The VOBs worked on after OK, in list order.
  const std::vector<VobOutcome>& Outcomes() const { return outcomes_; }

 protected:
  CVobMountDialogBase(int template_id, int list_id, CVobListBox::Mode mode, const char* help_topic,
                      std::vector<std::string> preselect, plat::Window* parent);
  bool OnInitDialog() override;
  bool OnCommand(int id, int code) override;
  // F1 opens the help topic, as Help does.
  bool OnMessage(std::uint32_t message, plat::WParam wparam, plat::LParam lparam, const std::string* text,
                 plat::LResult& result) override;
  void OnOK() override;
  void OnHelp() override;

  // Mounts or unmounts the VOB; false with the reason on the status.
  virtual bool Act(const RVL_VobTag& tag, GCL_Status& status) const = 0;
  // What follows each VOB, done or not: its logon registration. What the
  // user is told goes on the outcome too.
  virtual void AfterVob(const RVL_VobTag& tag, bool done, VobOutcome& outcome) = 0;
  // Registers or drops the VOB for logon with the call; a failure is shown
  // as a warning that names the VOB.
  void ChangeRegistration(int (*call)(const char*), int failure_text, const std::string& tag, VobOutcome& outcome);

  CVobListBox list_;

 private:
  int list_id_;
  CVobListBox::Mode mode_;
  const char* help_topic_;
  std::vector<std::string> preselect_;
  std::vector<VobOutcome> outcomes_;
  int saved_prefix_;
};

class CMountVobDlg : public CVobMountDialogBase {
 public:
  explicit CMountVobDlg(std::vector<std::string> preselect = {}, plat::Window* parent = nullptr);

 protected:
  void DoDataExchange(plat::DataExchange& dx) override;
  bool Act(const RVL_VobTag& tag, GCL_Status& status) const override;
  void AfterVob(const RVL_VobTag& tag, bool done, VobOutcome& outcome) override;

 private:
  int reconnect_ = 0;
};

class CUnmountVobDlg : public CVobMountDialogBase {
 public:
  explicit CUnmountVobDlg(std::vector<std::string> preselect = {}, plat::Window* parent = nullptr);

 protected:
  bool Act(const RVL_VobTag& tag, GCL_Status& status) const override;
  void AfterVob(const RVL_VobTag& tag, bool done, VobOutcome& outcome) override;
};

// The entries' inner forms: the dialog's result (-1 without the file
// system), and, when asked, one outcome per VOB worked on, then one "not
// processed" for each tag given that was not.
int MountVobs(const std::vector<std::string>& tags, plat::Window* parent, std::vector<VobOutcome>* outcomes);
int UnmountVobs(const std::vector<std::string>& tags, plat::Window* parent, std::vector<VobOutcome>* outcomes);
