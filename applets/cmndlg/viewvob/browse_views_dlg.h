#pragma once
// A view picked from the caller's list of view tags: the view a delivery
// goes to. Picking another user's view asks first.
#include <string>
#include <vector>

#include "platform/dialog.h"

class CBrowseViews : public plat::Dialog {
 public:
  // mode above 0: a development view is wanted, else an integration view.
  CBrowseViews(std::vector<std::string> tags, int mode, plat::Window* parent = nullptr);

  // After IDOK: the tag chosen.
  const std::string& Chosen() const { return chosen_; }

 protected:
  bool OnInitDialog() override;
  bool OnCommand(int id, int code) override;
  void OnOK() override;

 private:
  const std::vector<std::string> tags_;
  const int mode_;
  std::string chosen_;
};

// The owner the registry records for the view of a tag; empty when unknown.
std::string ViewOwner(const std::string& tag);
