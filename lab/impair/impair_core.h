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

/* Fixed-capacity FIFO index arithmetic (capacity need not be a power of 2). */
struct impair_fifo {
  uint32_t cap, head, count;
};
static inline uint32_t impair_fifo_at(const struct impair_fifo *f, uint32_t i) {
  uint32_t k = f->head + i;
  return k >= f->cap ? k - f->cap : k;
}

#endif
