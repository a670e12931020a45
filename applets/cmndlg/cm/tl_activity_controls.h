#pragma once
// The Tracklane controls of the comment dialogs: a drop-down of the records
// a stream's work may go to, a button that opens the tracker's record
// browser, and a menu button that submits a new record of a chosen type.
// The buttons feed their choice to the drop-down.
#include <memory>
#include <string>
#include <vector>

#include "flm.h"
#include "fileops/menu_button.h"
#include "platform/controls.h"

class CTLActivitiesCombo : public plat::ComboBox {
 public:
  CTLActivitiesCombo();
  ~CTLActivitiesCombo() override;

  // From the hosting dialog: the stream and the record already chosen (it
  // places that record's entry itself).
  void SetStream(const FLM_Stream& stream) { stream_ = stream; }
  void SetCurrentRecord(const FLM_TLEntityID& record) { current_ = record; }

  // Selects the record bound to the activity; an activity without one
  // changes nothing. 0, or the model's status, or TBS_ST_FAILURE when the
  // entry could not be added.
  int SelectByActivity(const FLM_Activity& activity);
  // Selects the record's entry, adding it first when the list has none.
  int SelectRecord(const FLM_TLEntityID& record, const std::string& headline);
  // The selected entry's record (null when none is selected).
  FLM_TLEntityID GetSelection() const;
  void DeleteAll();
  bool IsLoaded() const { return loaded_; }

  // The selected entry's headline, at most 80 characters.
  std::string TooltipText() const override;

 protected:
  bool OnReflect(int code) override;
  // Appends an entry: its index, or -1 when the list could not take it.
  virtual int AppendEntry(const std::string& text);

 private:
  // Reads the stream's records the first time the list opens; loaded only
  // when every record is in the list.
  void Load();
  int IndexOf(const FLM_TLEntityID& record) const;
  int Append(const FLM_TLEntityID& record, const std::string& headline);

  FLM_Stream stream_;
  FLM_TLEntityID current_;
  std::vector<std::unique_ptr<FLM_TLEntityID>> records_;  // the entries' data point here
  bool loaded_ = false;
};

// Opens the tracker's record browser; the chosen record goes to the combo.
class CBrowseTLEntityButton : public plat::Button {
 public:
  // The stream's project is read now: its status.
  int Setup(CTLActivitiesCombo* combo, const FLM_Stream& stream);

 protected:
  bool OnReflect(int code) override;

 private:
  CTLActivitiesCombo* combo_ = nullptr;
  FLM_Project project_;
};

// Lists the project's record types ("Defect...") and opens the tracker's
// new-record form for the chosen one; a submitted record goes to the combo.
class CNewTLEntityButton : public CMenuButton {
 public:
  int Setup(CTLActivitiesCombo* combo, const FLM_Stream& stream);

 protected:
  plat::Menu BuildMenu() override;
  void OnMenuCommand(int command_id) override;

 private:
  static constexpr int kFirstTypeCommand = 1;
  CTLActivitiesCombo* combo_ = nullptr;
  FLM_Project project_;
  std::vector<std::string> types_;
  bool loaded_ = false;
};
