#pragma once
// The VOB tag mount engine: mounts and unmounts a VOB under its VOB tag on
// this machine by asking the versioning file-system driver (RVFS) to do it.
//
// The tag is looked up in the tag registry of the machine's default region;
// the storage pathnames are checked and registered in the pathname prefix
// map; the mount options are composed and the driver's request is built and
// sent through view_mfs_ioctl. Every failure is reported through the message
// service (imsg_print) before its status is returned, so callers show nothing
// further of their own.
//
// Each call keeps its state to itself: mounts and unmounts may run on several
// threads at once.

// Mounts a tag. `options` (may be null or empty) is used instead of the
// tag's registered options when the caller is privileged. `flags` (may be null
// or empty) holding " -a " mounts every public tag of the region whose options
// lack "noauto" instead of `tag`. 0; TBS_ST_FAILURE for an unknown, duplicate or already
// mounted tag and other failures; TBS_ST_NOT_FOUND for a missing key or storage; TBS_ST_PERMISSION
// for a private VOB's storage that is not a directory; the driver's status.
int mntrpc_mount_tag(const char* tag, const char* options, const char* flags);

// Unmounts a tag; `flags` holding " -a " unmounts every mounted VOB. 0 also
// when a registered tag is not mounted (a notice says so); TBS_ST_FAILURE for a tag that
// is neither registered nor mounted, or a duplicate; the driver's status.
int mntrpc_umount_tag(const char* tag, const char* flags);
