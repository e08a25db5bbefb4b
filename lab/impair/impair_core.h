/* The impairment element's logic, free of sockets and clocks so that it can
 * be tested on its own (impair_test.c): the per-direction settings and their
 * parser, the random source, the loss models and the release-time rule. */
#ifndef IMPAIR_CORE_H
#define IMPAIR_CORE_H

#include <stddef.h>
#include <stdint.h>

#define IMPAIR_MS 1000000LL /* nanoseconds */

struct impair_rng {
  uint64_t s[4];
};

/* One direction's impairment. Loss is either Bernoulli (`burst_frames` 0)
 * or Gilbert–Elliott: a good state that loses `loss_good`, a bad state that
 * loses `loss_bad`, moving good -> bad with `p_gb` and bad -> good with
 * `p_bg` per frame. */
struct impair_dir {
  int64_t delay_ns;
  int64_t jitter_ns;
  double loss;         /* the mean loss asked for, 0..1 */
  double burst_frames; /* mean length of a bad period, 0 = Bernoulli */
  double p_gb, p_bg, loss_good, loss_bad;
};

struct impair_loss_state {
  int bad;
};

void impair_rng_seed(struct impair_rng *r, uint64_t seed);
uint64_t impair_rng_next(struct impair_rng *r);
double impair_rng_unit(struct impair_rng *r); /* uniform in [0, 1) */

/* Parses "delay=MS,jitter=MS,loss=PCT,burst[=FRAMES],badloss=FRACTION"
 * (every key optional) into `d`. Returns 0, or -1 with a reason in `err`. */
int impair_parse_dir(const char *spec, struct impair_dir *d, char *err, size_t errlen);

/* 1 when the next frame is lost; advances the Gilbert–Elliott state. */
int impair_lose(const struct impair_dir *d, struct impair_loss_state *st, struct impair_rng *r);

/* A uniform jitter sample in [0, jitter_ns]. */
int64_t impair_jitter_sample(const struct impair_dir *d, struct impair_rng *r);

/* When a frame that arrived at `arrival` leaves: its own delay and jitter,
 * but never before the frame ahead of it in the same direction. */
int64_t impair_release(int64_t prev_release, int64_t arrival, int64_t delay_ns, int64_t jitter_sample);

/* The header AF_PACKET puts before each frame with PACKET_VNET_HDR (the
 * virtio-net header, host byte order here): it carries a super-packet's
 * segmentation and a frame's pending checksum across the element. */
struct impair_vnet {
  uint8_t flags, gso_type;
  uint16_t hdr_len, gso_size, csum_start, csum_offset;
};
#define IMPAIR_VNET_NEEDS_CSUM 1
#define IMPAIR_GSO_NONE 0
#define IMPAIR_GSO_TCPV4 1

/* A TCP/IPv4 super-packet: vnet header, Ethernet, IP, TCP, then `segs`
 * segments of `mss` payload bytes (the last may be shorter). */
struct impair_tso {
  uint32_t hdrs;    /* Ethernet + IP + TCP header bytes */
  uint32_t ihl, thl, payload, mss, segs;
};

/* Fills `t` and returns its number of segments, or 0 when `in` is not a
 * TCP/IPv4 super-packet this can cut. */
uint32_t impair_tso_parse(const uint8_t *in, uint32_t len, struct impair_tso *t);

/* Bytes the run of segments [first, first + count) takes as one packet. */
uint32_t impair_tso_run_len(const struct impair_tso *t, uint32_t first, uint32_t count);

/* Writes segments [first, first + count) of `in` to `out` as the packet the
 * sender would have made of them alone: a plain frame for one segment, a
 * smaller super-packet for several; its checksum still left to the kernel.
 * `out` holds impair_tso_run_len() bytes. */
void impair_tso_run(const struct impair_tso *t, const uint8_t *in, uint32_t first, uint32_t count, uint8_t *out);

/* The Internet checksum's ones-complement sum of `len` bytes, added to `sum`
 * (not folded, not complemented). */
uint32_t impair_csum_add(uint32_t sum, const uint8_t *p, uint32_t len);
uint16_t impair_csum_fold(uint32_t sum);

/* Fixed-capacity FIFO index arithmetic (capacity need not be a power of 2). */
struct impair_fifo {
  uint32_t cap, head, count;
};
static inline uint32_t impair_fifo_at(const struct impair_fifo *f, uint32_t i) {
  uint32_t k = f->head + i;
  return k >= f->cap ? k - f->cap : k;
}

#endif
