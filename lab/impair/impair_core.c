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

uint32_t impair_csum_add(uint32_t sum, const uint8_t *p, uint32_t len) {
  uint64_t acc = sum;
  uint32_t i = 0;
  for (; i + 1 < len; i += 2) acc += (uint32_t)(p[i] << 8 | p[i + 1]);
  if (i < len) acc += (uint32_t)p[i] << 8;
  while (acc >> 32) acc = (acc & 0xffffffffu) + (acc >> 32);
  return (uint32_t)acc;
}

uint16_t impair_csum_fold(uint32_t sum) {
  while (sum >> 16) sum = (sum & 0xffff) + (sum >> 16);
  return (uint16_t)sum;
}

static uint16_t get16(const uint8_t *p) { return (uint16_t)(p[0] << 8 | p[1]); }
static void put16(uint8_t *p, uint16_t v) {
  p[0] = (uint8_t)(v >> 8);
  p[1] = (uint8_t)v;
}
static uint32_t get32(const uint8_t *p) { return (uint32_t)p[0] << 24 | (uint32_t)p[1] << 16 | (uint32_t)p[2] << 8 | p[3]; }
static void put32(uint8_t *p, uint32_t v) {
  put16(p, (uint16_t)(v >> 16));
  put16(p + 2, (uint16_t)v);
}

#define ETH_LEN 14
#define TCP_FIN 0x01
#define TCP_PSH 0x08
#define TCP_CWR 0x80

uint32_t impair_tso_parse(const uint8_t *in, uint32_t len, struct impair_tso *t) {
  struct impair_vnet vh;
  uint32_t vlen = sizeof vh;
  if (len < vlen + ETH_LEN + 20) return 0;
  memcpy(&vh, in, vlen);
  if ((vh.gso_type & 0x7f) != IMPAIR_GSO_TCPV4 || vh.gso_size == 0) return 0;
  const uint8_t *eth = in + vlen, *ip = eth + ETH_LEN;
  if (get16(eth + 12) != 0x0800 || (ip[0] >> 4) != 4 || ip[9] != 6) return 0;
  t->ihl = (ip[0] & 15u) * 4;
  if (t->ihl < 20 || len < vlen + ETH_LEN + t->ihl + 20) return 0;
  t->thl = (ip[t->ihl + 12] >> 4) * 4u;
  t->hdrs = ETH_LEN + t->ihl + t->thl;
  if (t->thl < 20 || len <= vlen + t->hdrs) return 0;
  t->payload = len - vlen - t->hdrs;
  t->mss = vh.gso_size;
  t->segs = (t->payload + t->mss - 1) / t->mss;
  return t->segs;
}

static uint32_t run_payload(const struct impair_tso *t, uint32_t first, uint32_t count) {
  uint32_t end = (first + count) * t->mss;
  return (end < t->payload ? end : t->payload) - first * t->mss;
}

uint32_t impair_tso_run_len(const struct impair_tso *t, uint32_t first, uint32_t count) {
  return (uint32_t)sizeof(struct impair_vnet) + t->hdrs + run_payload(t, first, count);
}

void impair_tso_run(const struct impair_tso *t, const uint8_t *in, uint32_t first, uint32_t count, uint8_t *out) {
  uint32_t vlen = sizeof(struct impair_vnet), part = run_payload(t, first, count);
  int last = first + count >= t->segs;
  struct impair_vnet vh;
  memcpy(&vh, in, vlen);
  struct impair_vnet oh = {IMPAIR_VNET_NEEDS_CSUM, IMPAIR_GSO_NONE, 0, 0, (uint16_t)(ETH_LEN + t->ihl), 16};
  if (count > 1) { /* still a super-packet: the kernel cuts it as it would have */
    oh.gso_type = vh.gso_type;
    oh.gso_size = (uint16_t)t->mss;
    oh.hdr_len = (uint16_t)t->hdrs;
  }
  memcpy(out, &oh, vlen);
  memcpy(out + vlen, in + vlen, t->hdrs);
  memcpy(out + vlen + t->hdrs, in + vlen + t->hdrs + first * t->mss, part);
  uint8_t *ip = out + vlen + ETH_LEN, *tcp = ip + t->ihl;
  uint16_t id = get16(ip + 4);
  put16(ip + 2, (uint16_t)(t->ihl + t->thl + part));
  /* Segment k of a super-packet gets IP id + k from the kernel, unless the
   * sender fixed the id (zero with DF set): the same numbers here. */
  if (!(id == 0 && (ip[6] & 0x40))) put16(ip + 4, (uint16_t)(id + first));
  put16(ip + 10, 0);
  put16(ip + 10, (uint16_t)~impair_csum_fold(impair_csum_add(0, ip, t->ihl)));
  put32(tcp + 4, get32(tcp + 4) + first * t->mss);
  if (!last) tcp[13] &= (uint8_t)~(TCP_FIN | TCP_PSH);
  if (first > 0) tcp[13] &= (uint8_t)~TCP_CWR;
  /* A pending checksum holds the pseudo-header's sum over the packet's TCP
   * length, folded and not complemented: what the kernel completes when it
   * sends the frame, or adjusts per segment when it cuts a super-packet. */
  uint8_t pseudo[12];
  memcpy(pseudo, ip + 12, 8);
  pseudo[8] = 0;
  pseudo[9] = 6;
  put16(pseudo + 10, (uint16_t)(t->thl + part));
  put16(tcp + 16, impair_csum_fold(impair_csum_add(0, pseudo, sizeof pseudo)));
}
