#pragma once
// A caller's file list: the entries of one request and, in the list, one set
// of options per operation.
#include <cstdint>
#include <mutex>
#include <string>

#include "platform/export.h"
#include "platform/object.h"
#include "platform/types.h"

namespace plat {
class Window;
}

// One file entry. After a run its status says what happened: 0 succeeded
// (also before a run), 1 failed, 2 not processed.
class RVCMNDLG_API COperationObj : public plat::Object {
 public:
  static constexpr int kSucceeded = 0;
  static constexpr int kFailed = 1;
  static constexpr int kNotProcessed = 2;

  std::string m_path;
  std::uint32_t m_vob = 0;  // the VOB's handle; 0: the entry is known by its path
  std::uint32_t m_objectId = 0;
  std::string m_viewTag;
  std::uint32_t m_flags = 0;  // the caller's, stored as given

  // The outcome is written by the operation's worker and read by the caller.
  int Status() const;
  void SetStatus(int status);
  std::string Messages() const;
  void SetMessages(std::string messages);

 private:
  mutable std::mutex mutex_;
  int status_ = kSucceeded;
  std::string messages_;
};

// The list owns its entries: removing one or destroying the list deletes it.
class RVCMNDLG_API CFileOperationList : public plat::ObjectArray {
 public:
  // The options take their defaults, several from the user options.
  CFileOperationList();
  ~CFileOperationList() override;

  int AddFile(const std::string& path, std::uint32_t flags = 0);
  int AddFile(const char* path, std::uint32_t flags = 0);
  int AddFile(std::uint32_t vob, std::uint32_t object_id, const std::string& view_tag, std::uint32_t flags = 0);
  COperationObj* Entry(int index) const;  // throws like GetAt
  void RemoveAt(int index) override;
  void RemoveAll() override;

  void SetCIIdentical(int v) { m_CIIdentical = v; }
  void SetCIUseCheckoutInfo(int v) { m_CIUseCheckoutInfo = v; }
  void SetCIPrompt(int v) { m_CIPrompt = v; }
  void SetCIPreserveTime(int v) { m_CIPreserveTime = v; }
  void SetCIComment(const std::string& v) { m_CIComment = v; }
  void SetCIShowProgressDlg(int v) { m_CIShowProgress = v; }
  void SetATSKeepCheckedOut(int v) { m_ATSKeepCheckedOut = v; }
  void SetATSPreserveTime(int v) { m_ATSPreserveTime = v; }
  void SetATSComment(const std::string& v) { m_ATSComment = v; }
  void SetATSShowProgressDlg(int v) { m_ATSShowProgress = v; }
  void SetCOPrompt(int v) { m_COPrompt = v; }
  void SetCOReserved(int v) { m_COReserved = v; }
  void SetCOUnreserved(int v) { m_COUnreserved = v; }
  void SetCONonmastered(int v) { m_CONonmastered = v; }
  void SetCOPreserveTime(int v) { m_COPreserveTime = v; }
  void SetCOComment(const std::string& v) { m_COComment = v; }
  void SetCOShowProgressDlg(int v) { m_COShowProgress = v; }
  void SetCOUsePrivate(int v) { m_COUsePrivate = v; }
  void SetCOVer(int v) { m_COVer = v; }
  void SetUNCOKeepFile(int v) { m_UNCOKeepFile = v; }
  void SetUNCOShowProgressDlg(int v) { m_UNCOShowProgress = v; }
  void SetRESReserve(int v) { m_RESReserve = v; }
  void SetRESShowProgressDlg(int v) { m_RESShowProgress = v; }
  void SetDIFFPredecessor(int v) { m_DIFFPredecessor = v; }

  // Check-in; each returns how many entries succeeded. The forms with a path
  // add it first; CheckinWithHwnd takes a window of a caller without a
  // framework of its own.
  int Checkin(plat::Window* parent = nullptr);
  int Checkin(const std::string& path, plat::Window* parent = nullptr);
  int CheckinWithOptions(plat::Window* parent = nullptr);
  int CheckinWithOptions(const std::string& path, plat::Window* parent = nullptr);
  int CheckinWithHwnd(plat::Hwnd window, int with_options);

  // Check-out; each returns how many entries succeeded. The forms with a
  // path add it first; CheckoutWithHwnd takes a window of a caller without
  // a framework of its own.
  int Checkout(plat::Window* parent = nullptr);
  int Checkout(const std::string& path, plat::Window* parent = nullptr);
  int CheckoutWithOptions(plat::Window* parent = nullptr);
  int CheckoutWithOptions(const std::string& path, plat::Window* parent = nullptr);
  int CheckoutWithHwnd(plat::Hwnd window, int with_options);

  // Undo check-out and reserve; each returns how many entries succeeded.
  // The forms with a path add it first; the WithHwnd forms take a window of
  // a caller without a framework of its own.
  int Uncheckout(plat::Window* parent = nullptr);
  int Uncheckout(const std::string& path, plat::Window* parent = nullptr);
  int UncheckoutWithOptions(plat::Window* parent = nullptr);
  int UncheckoutWithOptions(const std::string& path, plat::Window* parent = nullptr);
  int UncheckoutWithHwnd(plat::Hwnd window, int with_options);
  int Reserve(plat::Window* parent = nullptr);
  int Reserve(const std::string& path, plat::Window* parent = nullptr);
  int ReserveWithHwnd(plat::Hwnd window);

  // Add to source control; each returns how many entries succeeded. The
  // forms with a path add it first; AddToSrcWithHwnd takes a window of a
  // caller without a framework of its own.
  int AddToSrc(plat::Window* parent = nullptr);
  int AddToSrc(const std::string& path, plat::Window* parent = nullptr);
  int AddToSrcWithOptions(plat::Window* parent = nullptr);
  int AddToSrcWithOptions(const std::string& path, plat::Window* parent = nullptr);
  int AddToSrcWithHwnd(plat::Hwnd window, int with_options);

  // Compares every entry with its predecessor (or each other); returns 0.
  int Diff(void* parent = nullptr);
  int Diff(const std::string& path, void* parent = nullptr);

  int m_CIIdentical = 0;
  int m_CIUseCheckoutInfo;
  int m_CIPrompt;
  int m_CIPreserveTime;
  std::string m_CIComment;
  int m_CIShowProgress = 1;
  int m_ATSKeepCheckedOut = 1;
  int m_ATSPreserveTime;
  std::string m_ATSComment;
  int m_ATSShowProgress = 1;
  int m_COPrompt;
  int m_COReserved;
  int m_COUnreserved;
  int m_CONonmastered;
  int m_COPreserveTime;
  std::string m_COComment;
  int m_COShowProgress = 1;
  int m_COUsePrivate = 0;
  int m_COVer = 0;
  int m_UNCOKeepFile;
  int m_UNCOShowProgress = 1;
  int m_RESReserve = 1;
  int m_RESShowProgress = 1;
  int m_DIFFPredecessor = 1;
};
