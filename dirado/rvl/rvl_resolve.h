#pragma once
// Names to objects of their exact class: a pathname (through a view or in a
// VOB), an extended name or a selector is resolved (cmd_resolve_general) and
// the object made with the handle class of its meta-type: RVL_Element,
// RVL_Version, RVL_Branch, RVL_DerivedObject, RVL_VobSymlink, RVL_Hyperlink,
// RVL_NamedObj, else RVL_VobObject. Callers test the class by dynamic_cast.
#include <cstdint>
#include <memory>

#include "gcl_string.h"

class GCL_HandleBase;
class GCL_Status;
class RVL_VobObject;

class RVL_Vob;

// Null on failure, with the code and messages on the status.
std::unique_ptr<RVL_VobObject> RVL_ResolveName(GCL_Status& status, const GCL_String& name);

// The object of the class of its meta-type (0: asked of the repository).
std::unique_ptr<RVL_VobObject> RVL_MakeObject(GCL_Status& status, const RVL_Vob& vob, std::uint32_t dbid,
                                              std::uint32_t mtype, const GCL_String& text);

// Any name a property sheet is given: "viewtag:TAG" and "\\view\TAG" give
// an RVL_ViewTag, "view:TAG" an RVL_ViewHandle, "\\view" the RVL_ViewRoot,
// a view-private file in a view an RVL_ViewPrivate, anything else what
// RVL_ResolveName makes. Null on failure, with the code on the status.
std::unique_ptr<GCL_HandleBase> RVL_ResolveHandle(GCL_Status& status, const GCL_String& name);
