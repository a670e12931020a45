#pragma once
// Builders of the change-management model (flm.h), for `rvdlg init` and
// tests. Each is one call of the client (logged, failable by name) and one
// command of the store: a builder that fails changes nothing. Names are
// those of VOB objects (letters, digits, '_', '-', '.'); a name taken by an
// object of the kind in the VOB is TBS_ST_ALREADY, an object of another kind
// where one is needed TBS_ST_WRONG_KIND.
#include "flm.h"

// The root folder of a project VOB ("RootFolder"), made on first use, and
// the promotion levels, lowest first (replacing any before).
int flm_admin_mkrootfolder(vob_handle_t vob, FLM_Folder* root);
int flm_admin_set_plevels(vob_handle_t vob, const FLM_StringList& levels);
int flm_admin_mkfolder(const FLM_Folder& parent, const char* name, FLM_Folder* folder);
// A project in a folder, and its Tracklane database with the record types
// its activities' records may have.
int flm_admin_mkproject(const FLM_Folder& folder, const char* name, const char* title, bool single_stream,
                        FLM_Project* project);
int flm_admin_set_project_tl(const FLM_Project& project, const char* database, const FLM_StringList& types);
int flm_admin_set_modifiable(const FLM_Project& project, const FLM_Component& component);
// A component of a project VOB rooted at a directory element (root_elem 0:
// no root).
int flm_admin_mkcomponent(vob_handle_t vob, const char* name, vob_handle_t root_vob, vob_dbid_t root_elem,
                          FLM_Component* component);
// A stream of a project whose work goes on branches of the branch type
// (named in its config spec). The first integration stream of a project
// is its integration stream; another stream delivers to it. owner null:
// this user.
int flm_admin_mkstream(const FLM_Project& project, const char* name, const char* title, bool integration,
                       const char* brtype, const char* owner, FLM_Stream* stream);
// A baseline of a component made in a stream after pred (may be null), with
// its labeling status, promotion level and label type (empty: none).
int flm_admin_mkbaseline(const FLM_Stream& stream, const FLM_Component& component, const char* name,
                         const FLM_Baseline& pred, int labeling, const char* plevel, const char* lbtype,
                         FLM_Baseline* baseline);
int flm_admin_add_member(const FLM_Baseline& composite, const FLM_Baseline& member);
// A stream's foundation or recommended baselines.
int flm_admin_add_foundation(const FLM_Stream& stream, const FLM_Baseline& baseline);
int flm_admin_add_recommended(const FLM_Stream& stream, const FLM_Baseline& baseline);
// An activity of a stream; for a deliver or rebase (FLM_ACTIVITY_*) its
// state and source stream.
int flm_admin_mkactivity(const FLM_Stream& stream, const char* name, const char* headline, const char* owner,
                         FLM_Activity* activity);
int flm_admin_set_integration(const FLM_Activity& activity, int kind, int state, const FLM_Stream& source);
int flm_admin_add_contributor(const FLM_Activity& integration, const FLM_Activity& contributor);
int flm_admin_add_integration_baseline(const FLM_Activity& integration, const FLM_Baseline& baseline);
// Puts a version into an activity's change set: TBS_ST_ALREADY when another
// change set holds it.
int flm_admin_add_change(const FLM_Activity& activity, const FLM_Version& version);
int flm_admin_set_pvar(const FLM_VobObject& object, const char* name, const char* value);
// Makes a view work in a stream with an activity of it current (may be
// null): its config spec becomes the stream's and its root follows.
int flm_admin_set_view_stream(const char* view, const FLM_Stream& stream, const FLM_Activity& activity);
// Tracklane: a database's record types, a new record (numbered on from the
// database's last), and an activity's binding to a record.
int flm_admin_add_tl_type(const char* database, const char* type);
int flm_admin_mktlrecord(const char* database, const char* type, const char* state, const char* headline,
                         const char* description, FLM_TLEntityID* record);
int flm_admin_bind_tl(const FLM_Activity& activity, const FLM_TLEntityID& record);
// Removes a database's records and types (nothing to remove is no failure).
int flm_admin_rm_tl_database(const char* database);
