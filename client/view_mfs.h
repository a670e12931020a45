#pragma once
// Requests to the versioning file-system driver (RVFS), sent through the
// view service's view_mfs_ioctl.
//
// The request header and the mount and unmount blocks are exact byte images
// of what the driver reads: 32-bit words at fixed offsets, checked below.
// Their pointer words do not hold addresses: each holds a 32-bit handle into
// the request's table (view_mfs_request_t::table), which travels with the
// request and holds the data block, every text (with its terminating zero)
// and the pool array. Handle 0 is the null pointer; handle N is table entry
// N - 1.
#include <cstddef>
#include <cstdint>
#include <vector>

inline constexpr std::uint32_t VIEW_MFS_OP_MOUNT = 36;    // 0x24
inline constexpr std::uint32_t VIEW_MFS_OP_UNMOUNT = 37;  // 0x25

// The header: the operation, seven zero words, the data block's size in
// bytes and a handle of the data block.
struct view_mfs_header_t {
  std::uint32_t op;
  std::uint32_t reserved[7];
  std::uint32_t data_size;
  std::uint32_t data;  // handle
};
static_assert(sizeof(view_mfs_header_t) == 40);
static_assert(offsetof(view_mfs_header_t, op) == 0);
static_assert(offsetof(view_mfs_header_t, reserved) == 4);
static_assert(offsetof(view_mfs_header_t, data_size) == 32);
static_assert(offsetof(view_mfs_header_t, data) == 36);

// A text the driver reads: a handle, its length, and its length + 1.
struct view_mfs_text_t {
  std::uint32_t ptr;  // handle
  std::uint32_t len;
  std::uint32_t size;
};
static_assert(sizeof(view_mfs_text_t) == 12);

// One storage pool: 36 bytes.
struct view_mfs_pool_t {
  view_mfs_text_t map;
  view_mfs_text_t abs_pname;
  view_mfs_text_t obj_pname;
};
static_assert(sizeof(view_mfs_pool_t) == 36);

// Mount flags.
inline constexpr std::uint32_t VIEW_MFS_MNT_VOB = 0x1;
inline constexpr std::uint32_t VIEW_MFS_MNT_VIEWROOT = 0x2;
inline constexpr std::uint32_t VIEW_MFS_MNT_SOFT = 0x4;
inline constexpr std::uint32_t VIEW_MFS_MNT_INTR = 0x8;  // set unless "intr" is given
inline constexpr std::uint32_t VIEW_MFS_MNT_NOAC = 0x10;
inline constexpr std::uint32_t VIEW_MFS_MNT_NODNLC = 0x20;
inline constexpr std::uint32_t VIEW_MFS_MNT_RO = 0x40;
inline constexpr std::uint32_t VIEW_MFS_MNT_RVIEWROOT = 0x80;

inline constexpr std::uint32_t VIEW_MFS_MOUNT_WORD0 = 0x00F8000C;  // 12, and the block size 248

// The mount block: 248 bytes.
struct view_mfs_mount_t {
  std::uint32_t word0;
  std::uint32_t flags;
  view_mfs_text_t mntpath;       // the tag
  view_mfs_text_t host;          // server host name
  std::uint32_t port;            // server port (view-root mounts)
  view_mfs_text_t stg_abs;       // storage pathname, absolute form
  view_mfs_text_t stg_obj;       // storage pathname, object form
  view_mfs_text_t stg_local;     // host-local storage pathname
  std::uint8_t replica_uuid[16];
  std::uint32_t timeo;
  std::uint32_t retrans;
  std::uint32_t acregmax;
  std::uint32_t acregmin;
  std::uint32_t acdirmax;
  std::uint32_t acdirmin;
  view_mfs_text_t xnsuffix;
  std::uint8_t vob_uuid[16];
  std::uint32_t pool_count;
  std::uint32_t pools;           // handle of pool_count view_mfs_pool_t
  std::uint32_t exportid;
  std::uint32_t tunables[24];    // view-root mounts
};
static_assert(sizeof(view_mfs_mount_t) == 248);
static_assert(offsetof(view_mfs_mount_t, flags) == 4);
static_assert(offsetof(view_mfs_mount_t, mntpath) == 8);
static_assert(offsetof(view_mfs_mount_t, host) == 20);
static_assert(offsetof(view_mfs_mount_t, port) == 32);
static_assert(offsetof(view_mfs_mount_t, stg_abs) == 36);
static_assert(offsetof(view_mfs_mount_t, stg_obj) == 48);
static_assert(offsetof(view_mfs_mount_t, stg_local) == 60);
static_assert(offsetof(view_mfs_mount_t, replica_uuid) == 72);
static_assert(offsetof(view_mfs_mount_t, timeo) == 88);
static_assert(offsetof(view_mfs_mount_t, retrans) == 92);
static_assert(offsetof(view_mfs_mount_t, acregmax) == 96);
static_assert(offsetof(view_mfs_mount_t, acregmin) == 100);
static_assert(offsetof(view_mfs_mount_t, acdirmax) == 104);
static_assert(offsetof(view_mfs_mount_t, acdirmin) == 108);
static_assert(offsetof(view_mfs_mount_t, xnsuffix) == 112);
static_assert(offsetof(view_mfs_mount_t, vob_uuid) == 124);
static_assert(offsetof(view_mfs_mount_t, pool_count) == 140);
static_assert(offsetof(view_mfs_mount_t, pools) == 144);
static_assert(offsetof(view_mfs_mount_t, exportid) == 148);
static_assert(offsetof(view_mfs_mount_t, tunables) == 152);

// The unmount block: 28 bytes.
struct view_mfs_unmount_t {
  view_mfs_text_t mntpath;  // the tag
  std::uint8_t vob_oid[16];
};
static_assert(sizeof(view_mfs_unmount_t) == 28);
static_assert(offsetof(view_mfs_unmount_t, vob_oid) == 12);

// A request: its header and the table its handles point into.
struct view_mfs_request_t {
  view_mfs_header_t header{};
  std::vector<std::vector<std::uint8_t>> table;
};

// Hands a request to the driver. 0; TBS_ST_ALREADY when a mount's pathname is already
// mounted; TBS_ST_NOT_FOUND when an unmount's pathname is not mounted; TBS_ST_INVALID_ARG for a null or
// malformed request (a bad operation, size, word or handle, or a text whose
// lengths do not match it); TBS_ST_FAILURE when the driver cannot keep its table.
int view_mfs_ioctl(const view_mfs_request_t* request);
