/* The impairment element's logic: see impair_core.h. */
#include "impair_core.h"

#include <errno.h>
#include <math.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

/* splitmix64 seeds xoshiro256**: both are small, fast and good enough for
 * loss and jitter draws at a million frames a second. */
static uint64_t splitmix64(uint64_t *x) {
  uint64_t z = (*x += 0x9e3779b97f4a7c15ULL);
  z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9ULL;
  z = (z ^ (z >> 27)) * 0x94d049bb133111ebULL;
  return z ^ (z >> 31);
}

void impair_rng_seed(struct impair_rng *r, uint64_t seed) {
  for (int i = 0; i < 4; i++) r->s[i] = splitmix64(&seed);
}

static uint64_t rotl(uint64_t x, int k) { return (x << k) | (x >> (64 - k)); }

uint64_t impair_rng_next(struct impair_rng *r) {
  uint64_t *s = r->s;
  uint64_t out = rotl(s[1] * 5, 7) * 9;
  uint64_t t = s[1] << 17;
  s[2] ^= s[0];
  s[3] ^= s[1];
  s[1] ^= s[2];
  s[0] ^= s[3];
  s[2] ^= t;
  s[3] = rotl(s[3], 45);
  return out;
}

double impair_rng_unit(struct impair_rng *r) { return (double)(impair_rng_next(r) >> 11) * 0x1.0p-53; }

/* A bad period of this many frames on average when --burst gives no length:
 * long enough that TCP sees several losses in one window, short enough that
 * a 1 % line still has many separate bursts in a ten-second phase. */
#define DEFAULT_BURST_FRAMES 8.0
/* Half the frames of a bad period are lost: bursts of losses with survivors
 * between them, as on a line with bursts of errors, not an outage. */
#define DEFAULT_BAD_LOSS 0.5

static int number(const char *text, double lo, double hi, double *out) {
  char *end;
  errno = 0;
  double v = strtod(text, &end);
  if (errno || end == text || *end || !(v >= lo && v <= hi)) return -1;
  *out = v;
  return 0;
}

/* The Gilbert–Elliott transitions for a mean loss `loss` with bad periods of
 * `burst_frames` on average, losing `loss_bad` in them and nothing between:
 * the bad state's share is loss / loss_bad, and p_gb follows from it with
 * p_bg = 1 / burst_frames (share = p_gb / (p_gb + p_bg)). */
static int derive_ge(struct impair_dir *d, char *err, size_t errlen) {
  double share = d->loss / d->loss_bad;
  if (share >= 1.0) {
    snprintf(err, errlen, "loss %.3g %% needs badloss above %.3g", d->loss * 100, d->loss);
    return -1;
  }
  d->loss_good = 0;
  d->p_bg = 1.0 / d->burst_frames;
  d->p_gb = d->p_bg * share / (1.0 - share);
  return 0;
}

int impair_parse_dir(const char *spec, struct impair_dir *d, char *err, size_t errlen) {
  char buf[256];
  memset(d, 0, sizeof *d);
  d->loss_bad = DEFAULT_BAD_LOSS;
  if (strlen(spec) >= sizeof buf) {
    snprintf(err, errlen, "settings longer than %zu characters", sizeof buf - 1);
    return -1;
  }
  strcpy(buf, spec);
  char *save = NULL;
  for (char *item = strtok_r(buf, ",", &save); item; item = strtok_r(NULL, ",", &save)) {
    char *eq = strchr(item, '=');
    const char *value = eq ? eq + 1 : NULL;
    if (eq) *eq = 0;
    double v = 0;
    int bad = 0;
    if (!strcmp(item, "delay") && value) {
      bad = number(value, 0, 10000, &v);
      d->delay_ns = llround(v * IMPAIR_MS);
    } else if (!strcmp(item, "jitter") && value) {
      bad = number(value, 0, 10000, &v);
      d->jitter_ns = llround(v * IMPAIR_MS);
    } else if (!strcmp(item, "loss") && value) {
      bad = number(value, 0, 100, &v);
      d->loss = v / 100;
    } else if (!strcmp(item, "burst")) {
      v = DEFAULT_BURST_FRAMES;
      if (value) bad = number(value, 1, 1e6, &v);
      d->burst_frames = v;
    } else if (!strcmp(item, "badloss") && value) {
      bad = number(value, 0.01, 1, &v);
      d->loss_bad = v;
    } else {
      snprintf(err, errlen, "unknown setting '%s'", item);
      return -1;
    }
    if (bad) {
      snprintf(err, errlen, "bad value for %s: '%s'", item, value ? value : "");
      return -1;
    }
  }
  if (d->burst_frames > 0) return derive_ge(d, err, errlen);
  return 0;
}

int impair_lose(const struct impair_dir *d, struct impair_loss_state *st, struct impair_rng *r) {
  if (d->burst_frames <= 0) return d->loss > 0 && impair_rng_unit(r) < d->loss;
  /* The frame is judged in the state it arrives in; the state then moves. */
  int lost = impair_rng_unit(r) < (st->bad ? d->loss_bad : d->loss_good);
  if (st->bad) {
    if (impair_rng_unit(r) < d->p_bg) st->bad = 0;
  } else if (impair_rng_unit(r) < d->p_gb) {
    st->bad = 1;
  }
  return lost;
}

int64_t impair_jitter_sample(const struct impair_dir *d, struct impair_rng *r) {
  if (d->jitter_ns <= 0) return 0;
  return (int64_t)(impair_rng_next(r) % (uint64_t)(d->jitter_ns + 1));
}

int64_t impair_release(int64_t prev_release, int64_t arrival, int64_t delay_ns, int64_t jitter_sample) {
  int64_t own = arrival + delay_ns + jitter_sample;
  return own > prev_release ? own : prev_release;
}
