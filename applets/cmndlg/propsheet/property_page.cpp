// The window side of every page: activation, read-only pages, fonts and help.
#include <algorithm>
#include <array>
#include <map>

#include "gcl_status.h"
#include "gu.h"
#include "platform/controls.h"
#include "platform/dialog.h"
#include "platform/machine.h"
#include "platform/text.h"
#include "platform/resources.h"
#include "propsheet/propsheet_font.h"
#include "res/resource_ids.h"
#include "propsheet/property_sheet.h"
#include "rvl_attribute.h"
#include "rvl_hyperlink.h"
#include "vob_type.h"

namespace {

constexpr const char* kConsoleModule = "mmc.exe";
constexpr const char* kConsoleHelpFile = "rv_mmc.chm";
// Edit styles dropped on disabling: the border and the tab stop.
constexpr std::uint32_t kEditFrameStyles = 0x00810000;
// Controls with this style bit are left as they are.
constexpr std::uint32_t kKeepStateStyle = 0x0800;

bool HostIsConsole() {
  const auto modules = plat::MachineLoadedModules();
  return std::any_of(modules.begin(), modules.end(),
                     [](const std::string& m) { return plat::AsciiLowerCopy(m) == kConsoleModule; });
}

// The console's topics by page id (the help file name is kConsoleHelpFile).
const std::map<int, std::string>& ConsoleTopics() {
  static const std::map<int, std::string> topics = [] {
    std::map<int, std::string> t = {
        {802, "rv_mmc/RVPropsVobObject.htm"}, {806, "RVPropsGeneralPage"},
        {808, "rv_mmc/RVPropsLock.htm"}, {809, "RVPropsLabels"},
        {810, "RVPropsAttributes"}, {812, "RVPropsGeneralViewPrivate"},
        {814, "RVPropsTypeDetails"}, {815, "RVPropsGeneralSymlink"},
        {816, "RVPropsAtValueType"}, {817, "RVPropsElTypeManager"},
        {818, "RVPropsProtections"}, {819, "RVPropsHyperlinks"},
        {820, "RVPropsTriggers"}, {825, "rv_mmc/RVPropsVobTag.htm"},
        {826, "RVPropsTriggerFireConditions"}, {827, "RVPropsTriggerFireActions"},
        {828, "RVPropsGeneralCheckout"}, {830, "rv_mmc/RVPropsGeneralVob.htm"},
        {834, "RVPropsGeneralElement"}, {835, "RVPropsGeneralBranch"},
        {836, "RVPropsGeneralViewRoot"}, {837, "rv_mmc/RVPropsGeneralView.htm"},
        {838, "rv_mmc/RVPropsConfigSpec.htm"}, {839, "RVPropsGeneralDO"},
        {840, "RVPropsViewProject"}, {844, "rv_mmc/RVPropsLoadRule.htm"},
        {869, "rv_mmc/RVPropsViewAdvanced.htm"}, {875, "RVPropsStreamActivities"},
        {876, "rv_mmc/RVPropsStreamBaselines.htm"}, {880, "rv_mmc/RVPropsViewObject.htm"},
        {881, "rv_mmc/RVPropsMountOptions.htm"}, {882, "rv_mmc/RVPropsViewAccess.htm"},
        {883, "rv_mmc/RVPropsServerStorage.htm"}, {884, "rv_mmc/RVPropsRegionInfo.htm"},
        {885, "rv_mmc/RVPropsHostProperties.htm"}, {886, "rv_mmc/RVPropsHostProperties2.htm"},
        {887, "RVPropsViewAccess2"}, {888, "rv_mmc/RVPropsSiteConfig.htm"},
        {889, "rv_mmc/RVPropsRVFSSettings.htm"}, {892, "rv_mmc/RVPropsCustom.htm"},
        {898, "rv_mmc/RVPropsNoServersHostProperties.htm"}, {899, "rv_mmc/RVPropsViewTag.htm"},
        {903, "rv_mmc/RVPropsGeneralReplica.htm"}, {909, "RVPropsVobReplicas"}};
    for (int id = 904; id <= 908; ++id) t[id] = "RVPropsMastership";
    return t;
  }();
  return topics;
}

bool EndsWith(const std::string& text, const std::string& tail) {
  return text.size() >= tail.size() && text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
}

}  // namespace

std::atomic<int> CBasePropertyPage::m_nActiveID{0};
const int CBasePropertyPage::m_nIgnoreCtrls[] = {7136, 7137, 7006, 0};

CBasePropertyPage::CBasePropertyPage(int page_id)
    : plat::PropertyPage(page_id), m_page_id(page_id), m_in_console(HostIsConsole()),
      m_font(std::make_unique<CPropertySheetFont>()) {}

CBasePropertyPage::~CBasePropertyPage() = default;

bool CBasePropertyPage::OnSetActive() {
  m_nActiveID = m_page_id;
  if (m_read_only) DisableControls(true);
  return plat::PropertyPage::OnSetActive() && base_set_active(this, IsFirstActivation());
}

bool CBasePropertyPage::IsPageActive() const { return m_nActiveID == m_page_id; }

bool CBasePropertyPage::OnInitDialog() {
  const bool done = plat::PropertyPage::OnInitDialog();
  if (m_font->Create(m_page_id)) m_font->Apply(*this);
  return done;
}

bool CBasePropertyPage::IsIgnored(int control_id) {
  for (const int* id = m_nIgnoreCtrls; *id; ++id)
    if (*id == control_id) return true;
  return false;
}

void CBasePropertyPage::DisableControls(bool disable) {
  m_disabled = disable;
  for (plat::Window* child : Children()) DisableOneControl(*child, disable);
}

void CBasePropertyPage::DisableOneControl(plat::Window& control, bool disable) {
  if (IsIgnored(control.ControlId()) || (control.Style() & kKeepStateStyle)) return;
  if (auto* button = dynamic_cast<plat::Button*>(&control); button && button->IsGroupBox()) return;
  if (dynamic_cast<plat::Static*>(&control)) return;
  if (auto* edit = dynamic_cast<plat::Edit*>(&control)) {
    if (edit->IsReadOnly() == disable) return;
    edit->SetReadOnly(disable);
    if (disable) edit->SetStyle(edit->Style() & ~kEditFrameStyles);
    return;
  }
  if (control.IsEnabled() == !disable) return;
  control.EnableWindow(!disable);
}

std::string CBasePropertyPage::GetHtmlHelpTopic(int page_id) {
  const auto& topics = ConsoleTopics();
  if (auto it = topics.find(page_id); it != topics.end()) return it->second;
  plat::MessageBox(nullptr, plat::FormatPrintf(plat::LoadString(rvcmndlg::res::IDS_NO_HELP_FOR_PAGE), {page_id}),
                   std::string(), plat::mb::Ok | plat::mb::IconError);
  return kNoHelp;
}

std::string CBasePropertyPage::ConsoleHelpPath(const std::string& topic) {
  return std::string(kConsoleHelpFile) + "::/" + topic + (EndsWith(topic, ".htm") ? "" : ".htm");
}

void CBasePropertyPage::OnSheetHelp() {
  if (!m_in_console) {
    if (m_help_topic) gu_help(plat::Hwnd::Null, m_help_topic, 1, 0);
    return;
  }
  const std::string topic = GetHtmlHelpTopic(m_page_id);
  if (topic != kNoHelp) gu_help(plat::Hwnd::Null, ConsoleHelpPath(topic).c_str(), 1, 0);
}

namespace {

int WellKnownCode(const RVL_VobObject& type) {
  int code = 0;
  return !type.is_null() && vob_obj_find_wkobj(type.vob().handle(), type.dbid(), &code) == 0 ? code : 0;
}

}  // namespace

bool CBasePropertyPage::IsFLXHyperlink(const RVL_HyperlinkComposite& hyperlink) {
  GCL_Status status;
  switch (WellKnownCode(hyperlink.hyperlink().type_object(status))) {
    case 23: case 25: case 26: case 32: case 66: case 67: case 68: case 69: return true;
    default: return false;
  }
}

bool CBasePropertyPage::IsFLXAttributeType(const RVL_Attribute& attribute) {
  return WellKnownCode(attribute.type()) == 77;
}
