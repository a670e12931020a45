// Type definitions, their checks, redefines and transactions.
#include "vob_type.h"

#include <climits>
#include <cstring>
#include <string>
#include <vector>

#include "local/local_call.h"
#include "local/vob_repo.h"
#include "local/vob_typedef.h"
#include "platform/text.h"
#include "sysutl.h"
#include "vob_attr.h"

using client_local::CurrentStore;
using client_local::InStore;
using client_local::LocalCall;
using client_local::NonNull;
using client_local::Statement;
using client_local::Store;
using client_local::StoreError;
using namespace client_local::repo;

namespace client_local::repo {

namespace {

constexpr std::size_t kValueTextSize = 4096;

bool IsTypeOrReplica(std::uint32_t mtype) { return mtype >= VOB_MTYPE_ELTYPE && mtype <= VOB_MTYPE_REPLICA; }

// The element types the repository brings, with their managers.
const char* PredefinedManager(const std::string& name) {
  if (name == "file") return "binary_delta";
  if (name == "text_file") return "text_file_delta";
  if (name == "directory") return "directory";
  return nullptr;
}

TypeDef Defaults(Store& s, const Object& type) {
  TypeDef def;
  def.mtype = type.mtype;
  switch (type.mtype) {
    case VOB_MTYPE_LBTYPE:
    case VOB_MTYPE_BRTYPE:
      def.occurs = VOB_OCCURS_VER_PER_ELEM;
      break;
    case VOB_MTYPE_ATTYPE:
      def.occurs = VOB_OCCURS_VER_PER_VER;
      break;
    case VOB_MTYPE_ELTYPE:
      if (const char* mgr = type.predefined ? PredefinedManager(type.name) : nullptr) def.mgr = mgr;
      // text_file and the types users make derive from file
      if (!type.predefined || type.name == "text_file") def.supertype = FindNamed(s, type.vob, VOB_MTYPE_ELTYPE, "file");
      if (def.supertype == type.dbid) def.supertype = 0;
      break;
    default:
      break;
  }
  return def;
}

std::vector<std::string> Items(Store& s, vob_handle_t vob, vob_dbid_t type, const char* list) {
  Statement q(s, "SELECT value FROM vob_type_items WHERE vob = ?1 AND type = ?2 AND list = ?3 ORDER BY position");
  q.Bind(1, vob).Bind(2, type).Bind(3, list);
  std::vector<std::string> items;
  while (q.Step()) items.push_back(q.Text(0));
  return items;
}

void SaveItems(Store& s, vob_handle_t vob, vob_dbid_t type, const char* list, const std::vector<std::string>& items) {
  Statement drop(s, "DELETE FROM vob_type_items WHERE vob = ?1 AND type = ?2 AND list = ?3");
  drop.Bind(1, vob).Bind(2, type).Bind(3, list).Run();
  for (std::size_t i = 0; i < items.size(); ++i) {
    Statement add(s, "INSERT INTO vob_type_items (vob, type, list, position, value) VALUES (?1, ?2, ?3, ?4, ?5)");
    add.Bind(1, vob).Bind(2, type).Bind(3, list).Bind(4, static_cast<std::int64_t>(i)).Bind(5, items[i]).Run();
  }
}

std::string ValueText(const vob_value_s& value) {
  char text[kValueTextSize];
  if (vob_val_value_to_str(&value, text, sizeof text) != TBS_ST_OK) return "?";
  return text;
}

// Parses one text of the rules; false (with *why) when it is no value.
bool ParseOne(vob_val_kind_t kind, const char* text, const char* what, vob_value_s* value, std::string* why) {
  if (vob_val_str_to_value(kind, text, value) == TBS_ST_OK) return true;
  *why = std::string("The ") + what + " \"" + text + "\" is not a value of kind " + vob_val_kind_to_str(kind) + ".";
  return false;
}

int Compare(const vob_value_s& a, const vob_value_s& b) {
  int result = 0;
  vob_val_cmp_value(&a, &b, &result);
  return result;
}

bool WithinRules(const vob_attype_vinfo_s& rules, const vob_value_s& value) {
  if (rules.enum_count) {
    bool listed = false;
    for (std::size_t i = 0; i < rules.enum_count && !listed; ++i)
      listed = vob_val_eq_value(&rules.enum_values[i], &value) != 0;
    if (!listed) return false;
  }
  if (rules.has_lower) {
    const int order = Compare(value, rules.lower);
    if (order < 0 || (order == 0 && !rules.lower_inclusive)) return false;
  }
  if (rules.has_upper) {
    const int order = Compare(value, rules.upper);
    if (order > 0 || (order == 0 && !rules.upper_inclusive)) return false;
  }
  return true;
}

// The rules of a stored definition, parsed (they were checked when stored).
struct ParsedRules {
  vob_attype_vinfo_s rules;
  explicit ParsedRules(const TypeDef& def) {
    std::vector<const char*> enums;
    for (const auto& e : def.enums) enums.push_back(e.c_str());
    std::string why;
    ParseValueRules(def.kind, def.has_lower ? def.lower.c_str() : nullptr, def.has_upper ? def.upper.c_str() : nullptr,
                    def.lower_inclusive, def.upper_inclusive, def.has_default ? def.default_value.c_str() : nullptr,
                    enums.data(), enums.size(), &rules, &why);
  }
  ~ParsedRules() { vob_attype_free_vinfo(&rules); }
  ParsedRules(const ParsedRules&) = delete;
  ParsedRules& operator=(const ParsedRules&) = delete;
};

// The objects whose instances share one slot under an occurs: the element
// of a version (one per element) or its branch (one per branch); 0 when the
// occurs does not limit the object.
vob_dbid_t Slot(const Object& holder, std::uint32_t occurs) {
  if (holder.mtype != VOB_MTYPE_VERSION && holder.mtype != VOB_MTYPE_DIR_VERSION) return 0;
  if (occurs == VOB_OCCURS_VER_PER_ELEM) return holder.elem;
  if (occurs == VOB_OCCURS_VER_PER_BRANCH) return holder.branch;
  return 0;
}

// Another holder of the type in the object's slot, by the table's column.
vob_dbid_t OtherHolder(Store& s, const Object& holder, const char* table, const char* column, vob_dbid_t type,
                       std::uint32_t occurs) {
  const vob_dbid_t slot = Slot(holder, occurs);
  if (!slot) return 0;
  const char* slot_column = occurs == VOB_OCCURS_VER_PER_ELEM ? "elem" : "branch";
  const char* holder_column = std::strcmp(table, "vob_labels") == 0 ? "version" : "obj";
  Statement q(s, std::string("SELECT o.dbid FROM ") + table + " t JOIN vob_objs o ON o.vob = t.vob AND o.dbid = t." +
                     holder_column + " WHERE t.vob = ?1 AND t." + column + " = ?2 AND o." + slot_column +
                     " = ?3 AND o.dbid <> ?4 LIMIT 1");
  q.Bind(1, holder.vob).Bind(2, type).Bind(3, slot).Bind(4, holder.dbid);
  return q.Step() ? static_cast<vob_dbid_t>(q.Int(0)) : 0;
}

std::string HolderName(Store& s, vob_handle_t vob, vob_dbid_t dbid) {
  const auto object = Load(s, vob, dbid);
  if (!object) return Num(dbid);
  const std::string name = Pathname(s, *object);
  return name.empty() ? Selector(s, *object) : name;
}

std::string TypeName(Store& s, vob_handle_t vob, vob_dbid_t type) {
  const auto object = Load(s, vob, type);
  return object ? object->name : Num(type);
}

bool KnownOccurs(std::uint32_t occurs) { return occurs <= VOB_OCCURS_VER_PER_VER; }

bool ValidDef(const vob_type_def_s* def) {
  return def && KnownOccurs(def->occurs) && def->globalness <= VOB_GLOBALNESS_AS_IS &&
         def->master_kind <= VOB_MASTER_UNSHARED;
}

}  // namespace

TypeDef LoadTypeDef(Store& s, vob_handle_t vob, vob_dbid_t type) {
  const auto object = Load(s, vob, type);
  if (!object) throw StoreError{TBS_ST_NOT_FOUND, "no object " + Num(type) + " in VOB " + Num(vob)};
  if (!IsTypeOrReplica(object->mtype)) throw StoreError{TBS_ST_WRONG_KIND, "object " + Num(type) + " is no type"};
  TypeDef def = Defaults(s, *object);
  if (object->mtype == VOB_MTYPE_ATTYPE) def.kind = static_cast<vob_val_kind_t>(object->number);
  Statement q(s, "SELECT occurs, globalness, master_kind, lower, upper, lower_inclusive, upper_inclusive,"
                 " default_value, supertype, mgr, ptime, mergetype, from_occurs, to_occurs, host"
                 " FROM vob_typedefs WHERE vob = ?1 AND type = ?2");
  q.Bind(1, vob).Bind(2, type);
  if (!q.Step()) return def;
  def.occurs = static_cast<std::uint32_t>(q.Int(0));
  def.globalness = static_cast<std::uint32_t>(q.Int(1));
  def.master_kind = static_cast<std::uint32_t>(q.Int(2));
  def.has_lower = !q.IsNull(3);
  def.lower = q.Text(3);
  def.has_upper = !q.IsNull(4);
  def.upper = q.Text(4);
  def.lower_inclusive = q.Int(5) != 0;
  def.upper_inclusive = q.Int(6) != 0;
  def.has_default = !q.IsNull(7);
  def.default_value = q.Text(7);
  def.supertype = static_cast<vob_dbid_t>(q.Int(8));
  def.mgr = q.Text(9);
  def.ptime = q.Int(10) != 0;
  def.mergetype = static_cast<vob_mergetype_s>(q.Int(11));
  def.from_occurs = static_cast<std::uint32_t>(q.Int(12));
  def.to_occurs = static_cast<std::uint32_t>(q.Int(13));
  def.host = q.Text(14);
  def.enums = Items(s, vob, type, "enum");
  def.actions = Items(s, vob, type, "action");
  def.restrictions = Items(s, vob, type, "restriction");
  def.users = Items(s, vob, type, "user");
  for (const auto& op : Items(s, vob, type, "op")) def.ops.push_back(static_cast<vob_op_t>(std::stoul(op)));
  return def;
}

void SaveTypeDef(Store& s, vob_handle_t vob, vob_dbid_t type, const TypeDef& def) {
  Statement put(s, "INSERT OR REPLACE INTO vob_typedefs (vob, type, occurs, globalness, master_kind, lower, upper,"
                   " lower_inclusive, upper_inclusive, default_value, supertype, mgr, ptime, mergetype, from_occurs,"
                   " to_occurs, host) VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9, ?10, ?11, ?12, ?13, ?14, ?15, ?16,"
                   " ?17)");
  put.Bind(1, vob).Bind(2, type).Bind(3, def.occurs).Bind(4, def.globalness).Bind(5, def.master_kind);
  if (def.has_lower) put.Bind(6, def.lower); else put.BindNull(6);
  if (def.has_upper) put.Bind(7, def.upper); else put.BindNull(7);
  put.Bind(8, def.lower_inclusive).Bind(9, def.upper_inclusive);
  if (def.has_default) put.Bind(10, def.default_value); else put.BindNull(10);
  put.Bind(11, def.supertype).Bind(12, def.mgr).Bind(13, def.ptime).Bind(14, def.mergetype);
  put.Bind(15, def.from_occurs).Bind(16, def.to_occurs).Bind(17, def.host).Run();
  SaveItems(s, vob, type, "enum", def.enums);
  SaveItems(s, vob, type, "action", def.actions);
  SaveItems(s, vob, type, "restriction", def.restrictions);
  SaveItems(s, vob, type, "user", def.users);
  std::vector<std::string> ops;
  for (const vob_op_t op : def.ops) ops.push_back(std::to_string(op));
  SaveItems(s, vob, type, "op", ops);
}

int ParseValueRules(vob_val_kind_t kind, const char* lower, const char* upper, int lower_inclusive,
                    int upper_inclusive, const char* default_value, const char* const* enum_values,
                    std::size_t enum_count, vob_attype_vinfo_s* vinfo, std::string* why) {
  vob_attype_vinfo_s made;
  made.kind = kind;
  made.lower_inclusive = lower_inclusive != 0;
  made.upper_inclusive = upper_inclusive != 0;
  bool ok = vob_val_kind_to_str(kind) != nullptr;
  if (!ok) *why = "The value kind " + std::to_string(kind) + " is no kind.";
  if (ok && lower) made.has_lower = ok = ParseOne(kind, lower, "lower bound", &made.lower, why);
  if (ok && upper) made.has_upper = ok = ParseOne(kind, upper, "upper bound", &made.upper, why);
  if (ok && made.has_lower && made.has_upper && Compare(made.lower, made.upper) > 0) {
    ok = false;
    *why = std::string("The lower bound \"") + lower + "\" is above the upper bound \"" + upper + "\".";
  }
  if (ok && enum_count) {
    made.enum_values = new vob_value_s[enum_count];
    made.enum_count = enum_count;
    for (std::size_t i = 0; i < enum_count && ok; ++i)
      ok = enum_values[i] && ParseOne(kind, enum_values[i], "enumerated value", &made.enum_values[i], why);
  }
  if (ok && default_value) {
    made.has_default = ok = ParseOne(kind, default_value, "default value", &made.default_value, why);
    if (ok && !WithinRules(made, made.default_value)) {
      ok = false;
      *why = std::string("The default value \"") + default_value + "\" is outside the bounds or enumeration.";
    }
  }
  if (!ok) {
    vob_attype_free_vinfo(&made);
    return TBS_ST_INVALID_ARG;
  }
  *vinfo = made;
  return TBS_ST_OK;
}

bool MeetsRules(const TypeDef& def, const vob_value_s& value) {
  const ParsedRules parsed(def);
  return WithinRules(parsed.rules, value);
}

std::string AttributeBreaks(Store& s, vob_handle_t vob, vob_dbid_t obj, vob_dbid_t attype, const TypeDef& def,
                            const vob_value_s& value, int* status) {
  const std::string type = TypeName(s, vob, attype);
  if (!MeetsRules(def, value)) {
    *status = TBS_ST_INVALID_ARG;
    return "The value \"" + ValueText(value) + "\" is outside the bounds or enumeration of attribute type \"" + type +
           "\".";
  }
  const auto holder = Load(s, vob, obj);
  if (!holder) return "";
  if (const vob_dbid_t other = OtherHolder(s, *holder, "vob_attrs", "attype", attype, def.occurs)) {
    *status = TBS_ST_ALREADY;
    return "Attribute type \"" + type + "\" is already on \"" + HolderName(s, vob, other) + "\".";
  }
  return "";
}

vob_dbid_t LabelHolder(Store& s, vob_handle_t vob, vob_dbid_t version, vob_dbid_t lbtype, std::uint32_t occurs) {
  const auto holder = Load(s, vob, version);
  return holder ? OtherHolder(s, *holder, "vob_labels", "lbtype", lbtype, occurs) : 0;
}

std::string LabelBreaks(Store& s, vob_handle_t vob, vob_dbid_t version, vob_dbid_t lbtype, std::uint32_t occurs) {
  if (const vob_dbid_t other = LabelHolder(s, vob, version, lbtype, occurs))
    return "Label \"" + TypeName(s, vob, lbtype) + "\" is already on \"" + HolderName(s, vob, other) + "\".";
  return "";
}

}  // namespace client_local::repo

namespace {

// The first holder of the type whose instance a new definition would break.
std::string RedefineBreaks(Store& s, vob_handle_t vob, vob_dbid_t type, const TypeDef& def) {
  if (def.mtype == VOB_MTYPE_ATTYPE) {
    Statement q(s, "SELECT obj, kind, value FROM vob_attrs WHERE vob = ?1 AND attype = ?2 ORDER BY obj");
    q.Bind(1, vob).Bind(2, type);
    while (q.Step()) {
      vob_value_s value;
      if (vob_val_str_to_value(static_cast<vob_val_kind_t>(q.Int(1)), q.Text(2).c_str(), &value) != TBS_ST_OK)
        continue;
      int status = 0;
      std::string why = AttributeBreaks(s, vob, static_cast<vob_dbid_t>(q.Int(0)), type, def, value, &status);
      vob_val_free_value(&value);
      if (!why.empty()) return "The attribute on \"" + Pathname(s, *Load(s, vob, static_cast<vob_dbid_t>(q.Int(0)))) +
                               "\" breaks the new definition: " + why;
    }
  }
  if (def.mtype == VOB_MTYPE_LBTYPE) {
    Statement q(s, "SELECT version FROM vob_labels WHERE vob = ?1 AND lbtype = ?2 ORDER BY version");
    q.Bind(1, vob).Bind(2, type);
    while (q.Step()) {
      const std::string why = LabelBreaks(s, vob, static_cast<vob_dbid_t>(q.Int(0)), type, def.occurs);
      if (!why.empty()) return "The label on \"" + Pathname(s, *Load(s, vob, static_cast<vob_dbid_t>(q.Int(0)))) +
                               "\" breaks the new definition: " + why;
    }
  }
  return "";
}

// Runs a redefine: loads the definition, checks its kind, lets change fill
// in the new one, refuses what existing instances would break, stores it.
template <class Change>
int Redefine(Store& s, vob_handle_t vob, vob_dbid_t type, std::uint32_t mtype, const vob_type_def_s& def,
             Change&& change) {
  TypeDef next = LoadTypeDef(s, vob, type);
  if (next.mtype != mtype) return TBS_ST_WRONG_KIND;
  RequireChangeRight(s, *Load(s, vob, type));
  next.occurs = def.occurs;
  next.globalness = def.globalness;
  next.master_kind = def.master_kind;
  if (int rc = change(next); rc != TBS_ST_OK) return rc;
  if (const std::string why = RedefineBreaks(s, vob, type, next); !why.empty()) {
    Complain(why);
    return TBS_ST_ALREADY;
  }
  SaveTypeDef(s, vob, type, next);
  AddEvent(s, vob, type, "modify type", "");
  return TBS_ST_OK;
}

int RedefinePlain(const char* call, std::uint32_t mtype, vob_handle_t vob, vob_dbid_t type,
                  const vob_type_def_s* def) {
  return LocalCall(call, {Num(vob), Num(type), def ? Num(def->occurs) : "(null)"}, ValidDef(def), [&](Store& s) {
    return Redefine(s, vob, type, mtype, *def, [](TypeDef&) { return TBS_ST_OK; });
  });
}

std::vector<std::string> Strings(char** items, std::size_t count) {
  std::vector<std::string> out;
  for (std::size_t i = 0; i < count; ++i) out.emplace_back(items[i] ? items[i] : "");
  return out;
}

char** OwnedStrings(const std::vector<std::string>& items) {
  if (items.empty()) return nullptr;
  char** out = new char*[items.size()];
  for (std::size_t i = 0; i < items.size(); ++i) {
    out[i] = new char[items[i].size() + 1];
    std::memcpy(out[i], items[i].c_str(), items[i].size() + 1);
  }
  return out;
}

void FreeStrings(char**& items, std::size_t& count) {
  for (std::size_t i = 0; i < count && items; ++i) delete[] items[i];
  delete[] items;
  items = nullptr;
  count = 0;
}

bool ValidTriggerInfo(const vob_trtype_info_s* info) {
  if (!info) return false;
  const auto all_set = [](char** items, std::size_t count) {
    for (std::size_t i = 0; i < count; ++i)
      if (!items || !items[i]) return false;
    return true;
  };
  return all_set(info->actions, info->action_count) && all_set(info->restrictions, info->restriction_count) &&
         all_set(info->users, info->user_count) && (info->op_count == 0 || info->ops);
}

void CopyTrigger(const vob_trtype_info_s& info, TypeDef& def) {
  def.actions = Strings(info.actions, info.action_count);
  def.restrictions = Strings(info.restrictions, info.restriction_count);
  def.users = Strings(info.users, info.user_count);
  def.ops.assign(info.ops, info.ops + info.op_count);
}

template <class Read>
int ReadDef(const char* call, vob_handle_t vob, vob_dbid_t type, bool args_valid, Read&& read) {
  return LocalCall(call, {Num(vob), Num(type)}, args_valid, [&](Store& s) { return read(LoadTypeDef(s, vob, type)); });
}

}  // namespace

int vob_type_get_occurs(vob_handle_t vob, vob_dbid_t type, std::uint32_t* occurs) {
  return ReadDef("vob_type_get_occurs", vob, type, NonNull(occurs), [&](const TypeDef& def) {
    *occurs = def.occurs;
    return TBS_ST_OK;
  });
}

int vob_obj_find_wkobj(vob_handle_t vob, vob_dbid_t type, int* code) {
  return LocalCall("vob_obj_find_wkobj", {Num(vob), Num(type)}, NonNull(code), [&](Store& s) {
    LoadTypeDef(s, vob, type);  // refuses an object that is no type
    // A type the change-management process made carries its well-known code.
    const std::vector<std::string> items = Items(s, vob, type, "wkobj");
    const auto number = items.empty() ? std::nullopt : plat::ParseDecimal(items[0], INT_MAX);
    if (!number) return TBS_ST_NOT_FOUND;
    *code = static_cast<int>(*number);
    return TBS_ST_OK;
  });
}

int vob_type_get_globalness(vob_handle_t vob, vob_dbid_t type, std::uint32_t* globalness) {
  return ReadDef("vob_type_get_globalness", vob, type, NonNull(globalness), [&](const TypeDef& def) {
    *globalness = def.globalness;
    return TBS_ST_OK;
  });
}

int vob_type_get_master_kind(vob_handle_t vob, vob_dbid_t type, std::uint32_t* master_kind) {
  return ReadDef("vob_type_get_master_kind", vob, type, NonNull(master_kind), [&](const TypeDef& def) {
    *master_kind = def.master_kind;
    return TBS_ST_OK;
  });
}

int vob_type_next_supertypes(vob_handle_t vob, vob_dbid_t eltype, vob_dbid_t* cursor) {
  return LocalCall("vob_type_next_supertypes", {Num(vob), Num(eltype), cursor ? Num(*cursor) : "(null)"},
                   NonNull(cursor), [&](Store& s) {
    const TypeDef start = LoadTypeDef(s, vob, eltype);
    if (start.mtype != VOB_MTYPE_ELTYPE) return TBS_ST_WRONG_KIND;
    const vob_dbid_t next = *cursor == 0 ? start.supertype : LoadTypeDef(s, vob, *cursor).supertype;
    if (!next || next == eltype) return TBS_ST_NOT_FOUND;
    *cursor = next;
    return TBS_ST_OK;
  });
}

int vob_attype_get_info(vob_handle_t vob, vob_dbid_t attype, stg_area_t area, vob_attype_info_s* info) {
  return ReadDef("vob_attype_get_info", vob, attype, NonNull(info), [&](const TypeDef& def) {
    if (def.mtype != VOB_MTYPE_ATTYPE) return TBS_ST_WRONG_KIND;
    vob_attype_info_s read;
    read.kind = def.kind;
    if (def.has_lower) read.lower = AreaCopy(area, def.lower);
    if (def.has_upper) read.upper = AreaCopy(area, def.upper);
    if (def.has_default) read.default_value = AreaCopy(area, def.default_value);
    read.lower_inclusive = def.lower_inclusive;
    read.upper_inclusive = def.upper_inclusive;
    if (!def.enums.empty()) {
      auto** values = static_cast<const char**>(stg_alloc(area, def.enums.size() * sizeof(const char*)));
      if (!values) throw StoreError{TBS_ST_NO_MEMORY, "no room in the storage area"};
      for (std::size_t i = 0; i < def.enums.size(); ++i) values[i] = AreaCopy(area, def.enums[i]);
      read.enum_values = values;
      read.enum_count = def.enums.size();
    }
    *info = read;
    return TBS_ST_OK;
  });
}

int vob_attype_strs_to_vinfo(vob_val_kind_t kind, const char* lower, const char* upper, int lower_inclusive,
                             int upper_inclusive, const char* default_value, const char* const* enum_values,
                             std::size_t enum_count, vob_attype_vinfo_s* vinfo) {
  return LocalCall("vob_attype_strs_to_vinfo", {Num(kind), Text(lower), Text(upper), Text(default_value)},
                   NonNull(vinfo) && (enum_count == 0 || enum_values), [&] {
    std::string why;
    const int rc = ParseValueRules(kind, lower, upper, lower_inclusive, upper_inclusive, default_value, enum_values,
                                   enum_count, vinfo, &why);
    if (rc != TBS_ST_OK) Complain(why);
    return rc;
  });
}

int vob_attype_free_vinfo(vob_attype_vinfo_s* vinfo) {
  if (!vinfo) return TBS_ST_INVALID_ARG;
  vob_val_free_value(&vinfo->lower);
  vob_val_free_value(&vinfo->upper);
  vob_val_free_value(&vinfo->default_value);
  for (std::size_t i = 0; i < vinfo->enum_count; ++i) vob_val_free_value(&vinfo->enum_values[i]);
  delete[] vinfo->enum_values;
  *vinfo = vob_attype_vinfo_s();
  return TBS_ST_OK;
}

int vob_eltype_get_info(vob_handle_t vob, vob_dbid_t eltype, stg_area_t area, vob_eltype_info_s* info) {
  return ReadDef("vob_eltype_get_info", vob, eltype, NonNull(info), [&](const TypeDef& def) {
    if (def.mtype != VOB_MTYPE_ELTYPE) return TBS_ST_WRONG_KIND;
    vob_eltype_info_s read;
    read.supertype = def.supertype;
    read.mgr_name = AreaCopy(area, def.mgr);
    read.ptime = def.ptime;
    read.mergetype = def.mergetype;
    *info = read;
    return TBS_ST_OK;
  });
}

int vob_eltype_get_mergetype(vob_handle_t vob, vob_dbid_t eltype, vob_mergetype_s* mergetype) {
  return ReadDef("vob_eltype_get_mergetype", vob, eltype, NonNull(mergetype), [&](const TypeDef& def) {
    if (def.mtype != VOB_MTYPE_ELTYPE) return TBS_ST_WRONG_KIND;
    *mergetype = def.mergetype;
    return TBS_ST_OK;
  });
}

int vob_type_find_mgr_name(vob_handle_t vob, vob_dbid_t eltype, char* out, std::size_t size) {
  return LocalCall("vob_type_find_mgr_name", {Num(vob), Num(eltype)}, NonNull(out), [&](Store& s) {
    TypeDef def = LoadTypeDef(s, vob, eltype);
    if (def.mtype != VOB_MTYPE_ELTYPE) return TBS_ST_WRONG_KIND;
    // A chain of super types is short; the bound stops a loop.
    for (int depth = 0; def.mgr.empty() && def.supertype && depth < 64; ++depth)
      def = LoadTypeDef(s, vob, def.supertype);
    if (def.mgr.empty()) return TBS_ST_NOT_FOUND;
    return CopyOut(def.mgr, out, size);
  });
}

int vob_hltype_get_occurs(vob_handle_t vob, vob_dbid_t hltype, int end, std::uint32_t* occurs) {
  return ReadDef("vob_hltype_get_occurs", vob, hltype, NonNull(occurs) && (end == VOB_HLINK_FROM || end == VOB_HLINK_TO),
                 [&](const TypeDef& def) {
    if (def.mtype != VOB_MTYPE_HLTYPE) return TBS_ST_WRONG_KIND;
    *occurs = end == VOB_HLINK_FROM ? def.from_occurs : def.to_occurs;
    return TBS_ST_OK;
  });
}

int vob_type_next_attr_types(vob_handle_t vob, vob_dbid_t hltype, vob_dbid_t* cursor) {
  return LocalCall("vob_type_next_attr_types", {Num(vob), Num(hltype), cursor ? Num(*cursor) : "(null)"},
                   NonNull(cursor), [&](Store& s) {
    if (LoadTypeDef(s, vob, hltype).mtype != VOB_MTYPE_HLTYPE) return TBS_ST_WRONG_KIND;
    Statement q(s, "SELECT min(a.attype) FROM vob_attrs a JOIN vob_objs h ON h.vob = a.vob AND h.dbid = a.obj"
                   " WHERE a.vob = ?1 AND h.mtype = ?2 AND h.type = ?3 AND a.attype > ?4");
    q.Bind(1, vob).Bind(2, VOB_MTYPE_HLINK).Bind(3, hltype).Bind(4, *cursor);
    if (!q.Step() || q.IsNull(0)) return TBS_ST_NOT_FOUND;
    *cursor = static_cast<vob_dbid_t>(q.Int(0));
    return TBS_ST_OK;
  });
}

int vob_trtype_get_info(vob_handle_t vob, vob_dbid_t trtype, vob_trtype_info_s* info) {
  return ReadDef("vob_trtype_get_info", vob, trtype, NonNull(info), [&](const TypeDef& def) {
    if (def.mtype != VOB_MTYPE_TRTYPE) return TBS_ST_WRONG_KIND;
    vob_trtype_info_s read;
    read.actions = OwnedStrings(def.actions);
    read.action_count = def.actions.size();
    read.restrictions = OwnedStrings(def.restrictions);
    read.restriction_count = def.restrictions.size();
    read.users = OwnedStrings(def.users);
    read.user_count = def.users.size();
    if (!def.ops.empty()) {
      read.ops = new vob_op_t[def.ops.size()];
      std::copy(def.ops.begin(), def.ops.end(), read.ops);
      read.op_count = def.ops.size();
    }
    *info = read;
    return TBS_ST_OK;
  });
}

int vob_trtype_free_info(vob_trtype_info_s* info) {
  if (!info) return TBS_ST_INVALID_ARG;
  FreeStrings(info->actions, info->action_count);
  FreeStrings(info->restrictions, info->restriction_count);
  FreeStrings(info->users, info->user_count);
  delete[] info->ops;
  *info = vob_trtype_info_s();
  return TBS_ST_OK;
}

int vob_trtype_create(vob_handle_t vob, const char* name, const vob_trtype_info_s* info, const char* comment,
                      vob_dbid_t* trtype) {
  return LocalCall("vob_trtype_create", {Num(vob), Text(name), Text(comment)}, NonNull(name) && ValidTriggerInfo(info),
                   [&](Store& s) {
    vob_dbid_t made = 0;
    if (int rc = vob_mktype(vob, VOB_MTYPE_TRTYPE, name, comment, &made); rc != TBS_ST_OK) return rc;
    TypeDef def = LoadTypeDef(s, vob, made);
    CopyTrigger(*info, def);
    SaveTypeDef(s, vob, made, def);
    if (trtype) *trtype = made;
    return TBS_ST_OK;
  });
}

int vob_rptype_get_info(vob_handle_t vob, vob_dbid_t replica, vob_rptype_info_s* info) {
  return LocalCall("vob_rptype_get_info", {Num(vob), Num(replica)}, NonNull(info), [&](Store& s) {
    const TypeDef def = LoadTypeDef(s, vob, replica);
    if (def.mtype != VOB_MTYPE_REPLICA) return TBS_ST_WRONG_KIND;
    std::string host = def.host;
    char here[kNameBufferSize] = "";
    // a replica made before hosts were kept lives on this host
    if (host.empty() && sysutl_myhostname(here, sizeof here) == TBS_ST_OK) host = here;
    vob_rptype_info_s read;
    const std::string name = Load(s, vob, replica)->name;
    read.name = new char[name.size() + 1];
    std::memcpy(read.name, name.c_str(), name.size() + 1);
    read.host = new char[host.size() + 1];
    std::memcpy(read.host, host.c_str(), host.size() + 1);
    *info = read;
    return TBS_ST_OK;
  });
}

int vob_rptype_free_info(vob_rptype_info_s* info) {
  if (!info) return TBS_ST_INVALID_ARG;
  delete[] info->name;
  delete[] info->host;
  *info = vob_rptype_info_s();
  return TBS_ST_OK;
}

int vob_attype_redefine(vob_handle_t vob, vob_dbid_t attype, const vob_type_def_s* def,
                        const vob_attype_vinfo_s* vinfo) {
  return LocalCall("vob_attype_redefine", {Num(vob), Num(attype), def ? Num(def->occurs) : "(null)"},
                   ValidDef(def) && NonNull(vinfo) && (vinfo->enum_count == 0 || vinfo->enum_values), [&](Store& s) {
    return Redefine(s, vob, attype, VOB_MTYPE_ATTYPE, *def, [&](TypeDef& next) {
      if (vinfo->kind != next.kind) return TBS_ST_WRONG_KIND;
      next.has_lower = vinfo->has_lower;
      next.lower = vinfo->has_lower ? ValueText(vinfo->lower) : "";
      next.has_upper = vinfo->has_upper;
      next.upper = vinfo->has_upper ? ValueText(vinfo->upper) : "";
      next.lower_inclusive = vinfo->lower_inclusive;
      next.upper_inclusive = vinfo->upper_inclusive;
      next.has_default = vinfo->has_default;
      next.default_value = vinfo->has_default ? ValueText(vinfo->default_value) : "";
      next.enums.clear();
      for (std::size_t i = 0; i < vinfo->enum_count; ++i) next.enums.push_back(ValueText(vinfo->enum_values[i]));
      return TBS_ST_OK;
    });
  });
}

int vob_eltype_redefine(vob_handle_t vob, vob_dbid_t eltype, const vob_type_def_s* def, vob_dbid_t supertype,
                        const char* mgr_name, int ptime, vob_mergetype_s mergetype) {
  return LocalCall("vob_eltype_redefine", {Num(vob), Num(eltype), Num(supertype), Text(mgr_name)},
                   ValidDef(def) && NonNull(mgr_name) && mergetype <= VOB_MERGETYPE_COPY, [&](Store& s) {
    return Redefine(s, vob, eltype, VOB_MTYPE_ELTYPE, *def, [&](TypeDef& next) {
      // the super type must be another element type that does not derive from this one
      for (vob_dbid_t up = supertype; up; up = LoadTypeDef(s, vob, up).supertype)
        if (up == eltype || LoadTypeDef(s, vob, up).mtype != VOB_MTYPE_ELTYPE) return TBS_ST_INVALID_ARG;
      next.supertype = supertype;
      next.mgr = mgr_name;
      next.ptime = ptime != 0;
      next.mergetype = mergetype;
      return TBS_ST_OK;
    });
  });
}

int vob_brtype_redefine(vob_handle_t vob, vob_dbid_t brtype, const vob_type_def_s* def) {
  return RedefinePlain("vob_brtype_redefine", VOB_MTYPE_BRTYPE, vob, brtype, def);
}

int vob_lbtype_redefine(vob_handle_t vob, vob_dbid_t lbtype, const vob_type_def_s* def) {
  return RedefinePlain("vob_lbtype_redefine", VOB_MTYPE_LBTYPE, vob, lbtype, def);
}

int vob_hltype_redefine(vob_handle_t vob, vob_dbid_t hltype, const vob_type_def_s* def) {
  return RedefinePlain("vob_hltype_redefine", VOB_MTYPE_HLTYPE, vob, hltype, def);
}

int vob_trtype_redefine(vob_handle_t vob, vob_dbid_t trtype, const vob_type_def_s* def,
                        const vob_trtype_info_s* info) {
  return LocalCall("vob_trtype_redefine", {Num(vob), Num(trtype)}, ValidDef(def) && ValidTriggerInfo(info),
                   [&](Store& s) {
    return Redefine(s, vob, trtype, VOB_MTYPE_TRTYPE, *def, [&](TypeDef& next) {
      CopyTrigger(*info, next);
      return TBS_ST_OK;
    });
  });
}

int vob_txn_begin() {
  return LocalCall("vob_txn_begin", {}, true, [] {
    Store* store = CurrentStore();
    return store ? store->Begin() : TBS_ST_FAILURE;
  });
}

int vob_txn_end(int commit) {
  client_local::CallLog::Call call("vob_txn_end", {Num(commit)});
  Store* store = CurrentStore();
  if (!store) return call.Return(TBS_ST_FAILURE);
  // A failed end still closes the transaction: what it held is undone.
  if (call.Failed()) {
    store->End(false);
    return call.Status();
  }
  return call.Return(store->End(commit != 0));
}
