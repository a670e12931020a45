#pragma once
// Thin window classes over the change-management controls: each finds or
// makes its control by class id and forwards calls by member number. Every
// call answers a status: 0, TBS_ST_INVALID_ARG when the control refused the
// call's member or arguments, TBS_ST_FAILURE when it could not do it (the
// reason in LastError()). A wrapper without a control fails every call and
// tells the user once.
#include <memory>
#include <string>
#include <vector>

#include "platform/hosted_control.h"

namespace plat {
class Dialog;
}
class FLM_Baseline;
class FLM_Foundation;

class CHostedWrapper {
 public:
  CHostedWrapper(const char* class_id, int name_string_id);
  virtual ~CHostedWrapper();
  CHostedWrapper(const CHostedWrapper&) = delete;
  CHostedWrapper& operator=(const CHostedWrapper&) = delete;

  // Takes the control the dialog made from its template.
  bool Attach(plat::Dialog& dialog, int control_id);
  // Makes the control at run time in the placeholder's place.
  bool CreateOver(plat::Window& placeholder, int control_id);
  bool IsCreated() const { return control_ != nullptr; }
  plat::HostedControl* Control() const { return control_; }
  const std::string& LastError() const { return last_error_; }

 protected:
  int Call(int dispid, plat::DispCall call, const std::vector<plat::DispValue>& args = {},
           plat::DispValue* result = nullptr);
  int Get(int dispid, plat::DispValue* result) { return Call(dispid, plat::DispCall::Get, {}, result); }
  int Put(int dispid, plat::DispValue value) { return Call(dispid, plat::DispCall::Put, {std::move(value)}); }

 private:
  void TellMissingOnce();
  const char* class_id_;
  const int name_string_id_;
  plat::HostedControl* control_ = nullptr;
  std::unique_ptr<plat::HostedControl> owned_;
  plat::Window* owner_ = nullptr;
  bool told_ = false;
  std::string last_error_;
};

// The timeline of the baseline chooser dialogs.
class CBaselineTimeline : public CHostedWrapper {
 public:
  CBaselineTimeline();
  int GetSelection(std::string* selector);
  int SetSelection(const std::string& selector);
  int AddBaseline(const std::string& selector);
  int Clear();
  int DoneAdding();  // once, after every baseline was added
  int Count(long* count);
  int HasSelection(bool* selected);
};

// The baseline tree of the recommended-baselines dialog and the rebase
// status.
class CBaselineTree : public CHostedWrapper {
 public:
  CBaselineTree();
  int ShowMembers(bool show);
  int GetSelection(std::string* selector);
  int AddBaseline(const std::string& selector);
  int RemoveBaseline(const std::string& selector);
  // The baseline takes the place of the one of its component.
  int ReplaceBaseline(const std::string& selector);
  int IsChanged(bool* changed);
  int Count(long* count);
  int LoadMembers(FLM_Baseline& composite);
  int LoadFoundation(FLM_Foundation& foundation, const std::string& first, const std::string& stream);
  int WriteFoundation(FLM_Foundation* foundation);
  int SetProjectVob(const std::string& tag);
};

// The tree of projects and streams of the stream chooser.
class CProjectTree : public CHostedWrapper {
 public:
  CProjectTree();
  int SetVob(const std::string& tag);
  int Start();  // before the first load
  int Load(bool* loaded);
  int ShowAllVobs(bool all);
  int ShowAllStreams(bool all);
  int AllVobsShown(bool* all);
  int Select(const std::string& selector, bool* found);
  int GetSelection(std::string* selector);
  int Closing();  // the chooser closes with OK
};

// The diagram of a view's project page.
class CDrawtree : public CHostedWrapper {
 public:
  CDrawtree();
  int GetMode(short* mode);
  int SetMode(short mode);
  int Draw(bool* drawn);
};
