// The fixed memory pool (LV_MEM_SIZE bytes) that holds objects, styles,
// texts, timers and animations.
//
// Blocks tile the pool: an 8-byte header (size incl. header with a "used"
// bit, size of the physically previous block) followed by the payload.
// Free blocks sit on one doubly linked list (first fit) and are merged with
// free neighbours at once, so freeing everything restores one block.
//
// Exhaustion: lv_mem_alloc/lv_mem_realloc return NULL (as LVGL does) after
// printing one line to stderr. The core's own allocations use
// lv_mem_alloc_checked, which aborts the process with a clear message
// instead, so a half-built object tree never exists.
// Freeing a pointer that is not a live block aborts too: that would corrupt the pool.
#include "../core/lv_core_private.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

#if defined(__SANITIZE_ADDRESS__)
#define TESSEL_ASAN 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define TESSEL_ASAN 1
#endif
#endif
#ifdef TESSEL_ASAN
#include <sanitizer/asan_interface.h>
#endif

namespace {

constexpr uint32_t kAlign = 8;
constexpr uint32_t kHdr = 8;
constexpr uint32_t kMinBlock = 16; // header + the two free-list links
constexpr uint32_t kNone = 0xFFFFFFFFu;
constexpr uint32_t kUsed = 1u;
constexpr uint32_t kPoolSize = (LV_MEM_SIZE / kAlign) * kAlign;

struct Header {
    uint32_t size_flags; // block size (multiple of 8) | kUsed
    uint32_t prev_size;  // size of the block just before (0 for the first)
};

struct FreeLinks {
    uint32_t next;
    uint32_t prev;
};

alignas(16) uint8_t g_pool[kPoolSize];
uint32_t g_free_head = kNone;
uint32_t g_used_bytes = 0;
uint32_t g_max_used = 0;
uint32_t g_used_cnt = 0;
bool g_inited = false;
alignas(8) uint8_t g_zero_mem[8]; // what a 0-byte request gets

void poison(const void * p, size_t n)
{
#ifdef TESSEL_ASAN
    ASAN_POISON_MEMORY_REGION(p, n);
#else
    (void)p;
    (void)n;
#endif
}

void unpoison(const void * p, size_t n)
{
#ifdef TESSEL_ASAN
    ASAN_UNPOISON_MEMORY_REGION(p, n);
#else
    (void)p;
    (void)n;
#endif
}

// The end sentinel occupies the last kHdr bytes of the pool.
constexpr uint32_t kEnd = kPoolSize - kHdr;

Header * hdr(uint32_t off) { return reinterpret_cast<Header *>(g_pool + off); }
FreeLinks * links(uint32_t off) { return reinterpret_cast<FreeLinks *>(g_pool + off + kHdr); }
uint32_t bsize(uint32_t off) { return hdr(off)->size_flags & ~kUsed; }
bool used(uint32_t off) { return hdr(off)->size_flags & kUsed; }

void write_hdr(uint32_t off, uint32_t size, bool is_used, uint32_t prev_size)
{
    unpoison(g_pool + off, kHdr);
    hdr(off)->size_flags = size | (is_used ? kUsed : 0);
    hdr(off)->prev_size = prev_size;
}

void set_prev_size_of_next(uint32_t off)
{
    const uint32_t next = off + bsize(off);
    if(next <= kEnd) hdr(next)->prev_size = bsize(off);
}

void list_push(uint32_t off)
{
    unpoison(links(off), sizeof(FreeLinks));
    links(off)->prev = kNone;
    links(off)->next = g_free_head;
    if(g_free_head != kNone) links(g_free_head)->prev = off;
    g_free_head = off;
}

void list_remove(uint32_t off)
{
    FreeLinks * l = links(off);
    if(l->prev != kNone) links(l->prev)->next = l->next;
    else g_free_head = l->next;
    if(l->next != kNone) links(l->next)->prev = l->prev;
}

// Poison the payload of a free block beyond its links.
void poison_free(uint32_t off)
{
    const uint32_t sz = bsize(off);
    if(sz > kHdr + sizeof(FreeLinks)) poison(g_pool + off + kHdr + sizeof(FreeLinks), sz - kHdr - sizeof(FreeLinks));
}

void init_pool()
{
    unpoison(g_pool, kPoolSize);
    write_hdr(0, kEnd, false, 0);
    write_hdr(kEnd, 0, true, kEnd);
    g_free_head = kNone;
    list_push(0);
    poison_free(0);
    g_used_bytes = 0;
    g_max_used = 0;
    g_used_cnt = 0;
    g_inited = true;
}

void ensure_init()
{
    if(!g_inited) init_pool();
}

uint32_t block_size_for(size_t size)
{
    if(size > kPoolSize) return 0;
    uint32_t need = static_cast<uint32_t>((size + kHdr + kAlign - 1) & ~static_cast<size_t>(kAlign - 1));
    return need < kMinBlock ? kMinBlock : need;
}

// Cut `off` (already taken off the free list) to `need` bytes; the rest becomes a free block.
void split(uint32_t off, uint32_t need)
{
    const uint32_t sz = bsize(off);
    if(sz - need < kMinBlock) return;
    const bool u = used(off);
    hdr(off)->size_flags = need | (u ? kUsed : 0);
    const uint32_t rest = off + need;
    write_hdr(rest, sz - need, false, need);
    set_prev_size_of_next(rest);
    // The rest may touch a free block (when shrinking a used block in place).
    const uint32_t after = rest + bsize(rest);
    if(after < kEnd && !used(after)) {
        list_remove(after);
        hdr(rest)->size_flags = (bsize(rest) + bsize(after));
        set_prev_size_of_next(rest);
    }
    list_push(rest);
    poison_free(rest);
}

uint32_t offset_of(const void * p)
{
    const uint8_t * b = static_cast<const uint8_t *>(p);
    if(b < g_pool + kHdr || b >= g_pool + kEnd) return kNone;
    const uintptr_t off = static_cast<uintptr_t>(b - g_pool) - kHdr;
    if(off % kAlign) return kNone;
    return static_cast<uint32_t>(off);
}

[[noreturn]] void die(const char * what, const void * p)
{
    std::fprintf(stderr, "lvgl memory pool: %s (%p): the pool would be corrupted, aborting\n", what, p);
    std::fflush(stderr);
    std::abort();
}

void * alloc_impl(size_t size)
{
    ensure_init();
    if(size == 0) return g_zero_mem;
    const uint32_t need = block_size_for(size);
    if(need == 0) return nullptr;
    for(uint32_t off = g_free_head; off != kNone; off = links(off)->next) {
        if(bsize(off) < need) continue;
        list_remove(off);
        hdr(off)->size_flags |= kUsed;
        split(off, need);
        const uint32_t sz = bsize(off);
        g_used_bytes += sz;
        g_used_cnt++;
        if(g_used_bytes > g_max_used) g_max_used = g_used_bytes;
        uint8_t * payload = g_pool + off + kHdr;
        unpoison(payload, size);
        if(sz - kHdr > size) poison(payload + size, sz - kHdr - size);
        return payload;
    }
    return nullptr;
}

void report_exhausted(size_t size)
{
    lv_mem_monitor_t mon;
    lv_mem_monitor(&mon);
    std::fprintf(stderr,
                 "lvgl memory pool exhausted: %zu bytes requested, %u of %u bytes free (largest free block %u)\n",
                 size, mon.free_size, mon.total_size, mon.free_biggest_size);
    std::fflush(stderr);
}

} // namespace

void _lv_mem_init() { init_pool(); }

void _lv_mem_deinit() { init_pool(); }

void * lv_mem_alloc(size_t size)
{
    void * p = alloc_impl(size);
    if(p == nullptr) report_exhausted(size);
    return p;
}

void lv_mem_free(void * data)
{
    if(data == nullptr || data == g_zero_mem) return;
    ensure_init();
    uint32_t off = offset_of(data);
    if(off == kNone) die("free of a pointer outside the pool", data);
    unpoison(g_pool + off, kHdr);
    if(!used(off) || bsize(off) < kMinBlock || off + bsize(off) > kEnd) die("invalid or double free", data);
    uint32_t sz = bsize(off);
    g_used_bytes -= sz;
    g_used_cnt--;
    unpoison(g_pool + off + kHdr, sz - kHdr);
    hdr(off)->size_flags = sz;
    // Merge with the next block.
    const uint32_t next = off + sz;
    if(next < kEnd && !used(next)) {
        list_remove(next);
        sz += bsize(next);
        hdr(off)->size_flags = sz;
    }
    // Merge with the previous block.
    if(off > 0) {
        const uint32_t prev = off - hdr(off)->prev_size;
        if(!used(prev)) {
            list_remove(prev);
            hdr(prev)->size_flags = bsize(prev) + sz;
            off = prev;
        }
    }
    set_prev_size_of_next(off);
    list_push(off);
    poison_free(off);
}

void * lv_mem_realloc(void * data_p, size_t new_size)
{
    if(data_p == nullptr || data_p == g_zero_mem) return lv_mem_alloc(new_size);
    if(new_size == 0) {
        lv_mem_free(data_p);
        return g_zero_mem;
    }
    ensure_init();
    const uint32_t off = offset_of(data_p);
    if(off == kNone) die("realloc of a pointer outside the pool", data_p);
    if(!used(off)) die("realloc of a freed block", data_p);
    const uint32_t need = block_size_for(new_size);
    if(need == 0) {
        report_exhausted(new_size);
        return nullptr;
    }
    const uint32_t sz = bsize(off);
    uint8_t * payload = g_pool + off + kHdr;
    if(need <= sz) {
        split(off, need);
        g_used_bytes -= sz - bsize(off);
        unpoison(payload, new_size);
        if(bsize(off) - kHdr > new_size) poison(payload + new_size, bsize(off) - kHdr - new_size);
        return data_p;
    }
    // Grow in place into a free neighbour.
    const uint32_t next = off + sz;
    if(next < kEnd && !used(next) && sz + bsize(next) >= need) {
        list_remove(next);
        unpoison(g_pool + next, bsize(next));
        hdr(off)->size_flags = (sz + bsize(next)) | kUsed;
        set_prev_size_of_next(off);
        split(off, need);
        g_used_bytes += bsize(off) - sz;
        if(g_used_bytes > g_max_used) g_max_used = g_used_bytes;
        unpoison(payload, new_size);
        if(bsize(off) - kHdr > new_size) poison(payload + new_size, bsize(off) - kHdr - new_size);
        return data_p;
    }
    void * n = alloc_impl(new_size);
    if(n == nullptr) {
        report_exhausted(new_size);
        return nullptr;
    }
    const size_t old_payload = sz - kHdr;
    // Only the old block's unpoisoned bytes may be read.
    unpoison(payload, old_payload);
    std::memcpy(n, data_p, old_payload < new_size ? old_payload : new_size);
    lv_mem_free(data_p);
    return n;
}

void lv_mem_monitor(lv_mem_monitor_t * mon_p)
{
    ensure_init();
    std::memset(mon_p, 0, sizeof(*mon_p));
    mon_p->total_size = kPoolSize;
    for(uint32_t off = 0; off < kEnd; off += bsize(off)) {
        if(used(off)) {
            mon_p->used_cnt++;
        }
        else {
            mon_p->free_cnt++;
            mon_p->free_size += bsize(off);
            if(bsize(off) > mon_p->free_biggest_size) mon_p->free_biggest_size = bsize(off);
        }
    }
    mon_p->max_used = g_max_used;
    mon_p->used_pct = static_cast<uint8_t>(100 - (static_cast<uint64_t>(mon_p->free_size) * 100) / kPoolSize);
    if(mon_p->free_size > 0)
        mon_p->frag_pct = static_cast<uint8_t>(
            100 - (static_cast<uint64_t>(mon_p->free_biggest_size) * 100) / mon_p->free_size);
}

void _lv_mem_fail(const char * file, int line)
{
    lv_mem_monitor_t mon;
    lv_mem_monitor(&mon);
    std::fprintf(stderr,
                 "lvgl memory pool exhausted at %s:%d: %u of %u bytes free (largest free block %u); "
                 "raise LV_MEM_SIZE. Aborting.\n",
                 file, line, mon.free_size, mon.total_size, mon.free_biggest_size);
    std::fflush(stderr);
    std::abort();
}

namespace {
[[noreturn]] void fail_request(size_t size)
{
    report_exhausted(size);
    std::fprintf(stderr, "lvgl: cannot continue without memory (raise LV_MEM_SIZE). Aborting.\n");
    std::fflush(stderr);
    std::abort();
}
} // namespace

void * lv_mem_alloc_checked(size_t size)
{
    void * p = alloc_impl(size);
    if(p == nullptr) fail_request(size);
    return p;
}

void * lv_mem_realloc_checked(void * p, size_t size)
{
    if(p == nullptr || p == g_zero_mem) return lv_mem_alloc_checked(size);
    void * n = lv_mem_realloc(p, size);
    if(n == nullptr) {
        std::fprintf(stderr, "lvgl: cannot continue without memory (raise LV_MEM_SIZE). Aborting.\n");
        std::fflush(stderr);
        std::abort();
    }
    return n;
}
