#pragma once
// A small modeless window that shows a title line and the messages of a
// long piece of work while its worker runs (removing a view, for one).
#include <atomic>
#include <mutex>
#include <string>

#include "fileops/imsg_callback.h"
#include "platform/dialog.h"

class CIMsgProgressDlg : public plat::Dialog {
 public:
  explicit CIMsgProgressDlg(int title_id);
  ~CIMsgProgressDlg() override;

  // Disables the parent's top-level owner, creates the window and starts
  // taking the client's messages.
  bool Create(plat::Window* parent);
  void SetLine1(const std::string& text);
  void SetLine2(const std::string& text);
  // Caller side: the loop runs while running is set; the worker ends it.
  void RunModalLoop();
  void StopRunning();
  CIMsgProgressCallBack& Callback() { return m_callback; }

 protected:
  bool OnInitDialog() override;
  void OnOK() override {}
  void OnCancel() override {}
  void OnDestroy() override;
  bool OnMessage(std::uint32_t message, plat::WParam wparam, plat::LParam lparam, const std::string* text,
                 plat::LResult& result) override;

 private:
  void EnableOwner();
  const int m_titleId;
  std::atomic<bool> m_running{true};
  std::atomic<bool> m_ownerDisabled{false};
  plat::Window* m_owner = nullptr;
  plat::Hwnd m_ownerHwnd = plat::Hwnd::Null;
  CIMsgProgressCallBack m_callback;
};
