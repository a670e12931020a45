#pragma once
// Routes the client's eleven message kinds to eleven operations of an
// object while it is installed; uninstalling puts back what it found.
// Install and uninstall on one thread; messages arrive on any.
#include <array>
#include <atomic>
#include <mutex>
#include <string>

#include "imsg.h"

class CIMsgProgressDlg;

class CIMsgCallBack {
 public:
  CIMsgCallBack() = default;
  virtual ~CIMsgCallBack();
  CIMsgCallBack(const CIMsgCallBack&) = delete;
  CIMsgCallBack& operator=(const CIMsgCallBack&) = delete;

  // Installing twice has no effect; uninstalling what was never installed
  // changes nothing.
  void Install();
  void Uninstall();
  bool IsInstalled() const { return m_installed.load(); }

  virtual void OnNotice(const char*) {}          // 0
  virtual void OnNoticeCont(const char*) {}      // 1
  virtual void OnVerbose(const char*) {}         // 2
  virtual void OnTrace(const char*) {}           // 3
  virtual void OnWarning(const char*) {}         // 4
  virtual void OnWarningCont(const char*) {}     // 5
  virtual void OnError(const char*) {}           // 6
  virtual void OnErrorCont(const char*) {}       // 7
  virtual void OnDebug(const char*) {}           // 8
  virtual void OnOutput(const char*) {}          // 9
  virtual void OnInternalError(const char*) {}   // 10

 private:
  static void Dispatch(void* context, int kind, const char* text);
  imsg_redirect_procs_t m_saved;
  std::atomic<bool> m_installed{false};
};

// Shows notices, warnings, errors and internal errors as the second line of
// its dialog and keeps them; remembers which kinds it saw.
class CIMsgProgressCallBack : public CIMsgCallBack {
 public:
  explicit CIMsgProgressCallBack(CIMsgProgressDlg* dialog = nullptr) : m_dialog(dialog) {}
  void Bind(CIMsgProgressDlg* dialog) { m_dialog = dialog; }
  // False for a kind outside 0..10.
  bool Seen(int kind) const;
  std::string Text() const;

  void OnNotice(const char* text) override { Show(0, text); }
  void OnNoticeCont(const char* text) override { Show(0, text); }
  void OnWarning(const char* text) override { Show(4, text); }
  void OnWarningCont(const char* text) override { Show(4, text); }
  void OnError(const char* text) override { Show(6, text); }
  void OnErrorCont(const char* text) override { Show(6, text); }
  void OnInternalError(const char* text) override { Show(10, text); }

 private:
  void Show(int kind, const char* text);
  std::atomic<CIMsgProgressDlg*> m_dialog;
  std::array<std::atomic<bool>, IMSG_KIND_COUNT> m_seen{};
  mutable std::mutex m_mutex;
  std::string m_text;
};
