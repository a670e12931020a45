#include "cm/activity_rows.h"

#include "platform/resources.h"

CActivityRows::CActivityRows() = default;

CActivityRows::~CActivityRows() = default;

void CActivityRows::DeleteAll() {
  DeleteAllItems();
  activities_.clear();
}

void CActivityRows::SetupColumns(int headline_string, int headline_width, int owner_string, int owner_width) {
  InsertColumn(0, plat::LoadString(headline_string), headline_width);
  InsertColumn(1, plat::LoadString(owner_string), owner_width);
}

int CActivityRows::AddRow(const FLM_Activity& activity, std::string headline, std::string owner) {
  activities_.push_back(std::make_unique<FLM_Activity>(activity));
  const int row = InsertItem(-1, std::move(headline));
  SetItemText(row, 1, std::move(owner));
  SetItemData(row, reinterpret_cast<std::uintptr_t>(activities_.back().get()));
  return row;
}

const FLM_Activity* CActivityRows::ActivityAt(int row) const {
  return reinterpret_cast<const FLM_Activity*>(GetItemData(row));
}
