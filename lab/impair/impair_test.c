/* Native checks of the element's logic (impair_core.c): the settings parser,
 * the release-time rule that keeps a direction's order, and the loss models
 * against their arithmetic. Prints one line per failed check and
 * "impair_test: N passed, N failed"; exits non-zero on a failure. */
#include <math.h>
#include <stdio.h>
#include <string.h>

#include "impair_core.h"

static int passed, failed;

static void check(int ok, const char *what, const char *detail) {
  if (ok) {
    passed++;
  } else {
    failed++;
    printf("FAIL %s: %s\n", what, detail);
  }
}

static void test_parse(void) {
  static const struct {
    const char *spec;
    int ok;
    int64_t delay_ns, jitter_ns;
    double loss, burst;
  } cases[] = {
      {"", 1, 0, 0, 0, 0},
      {"delay=10", 1, 10 * IMPAIR_MS, 0, 0, 0},
      {"delay=0.25,jitter=1.5", 1, 250000, 1500000, 0, 0},
      {"loss=1", 1, 0, 0, 0.01, 0},
      {"loss=0.1,burst", 1, 0, 0, 0.001, 8},
      {"loss=2,burst=4,badloss=0.9", 1, 0, 0, 0.02, 4},
      {"delay=-1", 0, 0, 0, 0, 0},
      {"delay=10ms", 0, 0, 0, 0, 0},
      {"loss=101", 0, 0, 0, 0, 0},
      {"loss=60,burst", 0, 0, 0, 0, 0}, /* more than the bad state loses */
      {"burst=0", 0, 0, 0, 0, 0},
      {"rate=10", 0, 0, 0, 0, 0},
      {"delay", 0, 0, 0, 0, 0},
  };
  for (size_t i = 0; i < sizeof cases / sizeof cases[0]; i++) {
    struct impair_dir d;
    char err[160] = "", what[200];
    int ok = impair_parse_dir(cases[i].spec, &d, err, sizeof err) == 0;
    snprintf(what, sizeof what, "parse '%s'", cases[i].spec);
    check(ok == cases[i].ok, what, ok ? "accepted" : err);
    if (!ok || !cases[i].ok) continue;
    check(d.delay_ns == cases[i].delay_ns && d.jitter_ns == cases[i].jitter_ns, what, "delay or jitter");
    check(fabs(d.loss - cases[i].loss) < 1e-12 && d.burst_frames == cases[i].burst, what, "loss or burst");
    if (d.burst_frames > 0) {
      /* The stationary bad share times its loss gives back the mean asked for. */
      double share = d.p_gb / (d.p_gb + d.p_bg);
      check(fabs(share * d.loss_bad - d.loss) < 1e-12, what, "Gilbert-Elliott mean loss");
    }
  }
}

static void test_release_rule(void) {
  static const struct {
    int64_t prev, arrival, delay, jitter, want;
  } cases[] = {
      {0, 100, 50, 0, 150},    /* delay alone */
      {0, 100, 50, 7, 157},    /* plus its jitter */
      {200, 100, 50, 7, 200},  /* never before the frame ahead */
      {157, 101, 50, 6, 157},  /* an equal time keeps the order too */
      {157, 102, 50, 6, 158},
  };
  for (size_t i = 0; i < sizeof cases / sizeof cases[0]; i++) {
    char detail[120];
    int64_t got = impair_release(cases[i].prev, cases[i].arrival, cases[i].delay, cases[i].jitter);
    snprintf(detail, sizeof detail, "case %zu: %lld, want %lld", i, (long long)got, (long long)cases[i].want);
    check(got == cases[i].want, "release rule", detail);
  }

  /* A stream with heavy jitter: times never go back, no frame leaves before
   * its own delay, none later than the worst frame ahead of it would force. */
  struct impair_dir d;
  char err[160];
  impair_parse_dir("delay=20,jitter=10", &d, err, sizeof err);
  struct impair_rng r;
  impair_rng_seed(&r, 7);
  int64_t prev = 0, arrival = 0, worst_bound = 0, sum_jitter = 0;
  int ordered = 1, after_delay = 1, bounded = 1;
  const int n = 200000;
  for (int i = 0; i < n; i++) {
    arrival += (int64_t)(impair_rng_next(&r) % 200000); /* 0-0.2 ms apart */
    int64_t j = impair_jitter_sample(&d, &r);
    sum_jitter += j;
    if (j < 0 || j > d.jitter_ns) bounded = 0;
    int64_t rel = impair_release(prev, arrival, d.delay_ns, j);
    if (rel < prev) ordered = 0;
    if (rel < arrival + d.delay_ns) after_delay = 0;
    if (arrival + d.delay_ns + d.jitter_ns > worst_bound) worst_bound = arrival + d.delay_ns + d.jitter_ns;
    if (rel > worst_bound) bounded = 0;
    prev = rel;
  }
  check(ordered, "jittered stream", "a release time went back");
  check(after_delay, "jittered stream", "a frame left before its delay");
  check(bounded, "jittered stream", "a jitter sample or release beyond delay + jitter");
  double mean = (double)sum_jitter / n / (double)d.jitter_ns;
  char detail[80];
  snprintf(detail, sizeof detail, "mean jitter %.4f of the bound, want 0.5", mean);
  check(fabs(mean - 0.5) < 0.01, "jitter is uniform", detail);
}

/* Loss counted over many frames against the model's arithmetic. */
static void test_loss(void) {
  static const struct {
    const char *spec;
    double run_after_loss_min, run_after_loss_max; /* P(lost | previous lost) */
  } cases[] = {
      {"loss=1", 0.0, 0.02},
      {"loss=0.1", 0.0, 0.005},
      {"loss=1,burst", 0.35, 0.55},
      {"loss=1,burst=4,badloss=1", 0.7, 0.8},
  };
  for (size_t c = 0; c < sizeof cases / sizeof cases[0]; c++) {
    struct impair_dir d;
    char err[160], detail[200];
    impair_parse_dir(cases[c].spec, &d, err, sizeof err);
    struct impair_rng r;
    impair_rng_seed(&r, 1000 + c);
    struct impair_loss_state st = {0};
    const long n = 4000000;
    long lost = 0, after_loss = 0, lost_after_loss = 0, bad_frames = 0, bad_periods = 0;
    int prev_lost = 0, prev_bad = 0;
    for (long i = 0; i < n; i++) {
      int was_bad = st.bad;
      int l = impair_lose(&d, &st, &r);
      lost += l;
      if (prev_lost) {
        after_loss++;
        lost_after_loss += l;
      }
      bad_frames += was_bad;
      if (was_bad && !prev_bad) bad_periods++;
      prev_lost = l;
      prev_bad = was_bad;
    }
    double rate = (double)lost / n;
    /* Bernoulli: four standard deviations. Bursts make neighbouring frames
     * dependent, widening the spread by about the burst length. */
    double sigma = sqrt(d.loss * (1 - d.loss) / n) * (d.burst_frames > 0 ? sqrt(2 * d.burst_frames) : 1);
    snprintf(detail, sizeof detail, "%s: lost %.5f, want %.5f +- %.5f", cases[c].spec, rate, d.loss, 4 * sigma);
    check(fabs(rate - d.loss) <= 4 * sigma, "mean loss", detail);
    double run = after_loss ? (double)lost_after_loss / after_loss : 0;
    snprintf(detail, sizeof detail, "%s: P(lost | lost before) %.3f, want %.2f-%.2f", cases[c].spec, run,
             cases[c].run_after_loss_min, cases[c].run_after_loss_max);
    check(run >= cases[c].run_after_loss_min && run <= cases[c].run_after_loss_max, "loss bursts", detail);
    if (d.burst_frames > 0) {
      double mean_period = bad_periods ? (double)bad_frames / bad_periods : 0;
      snprintf(detail, sizeof detail, "%s: bad periods of %.2f frames, want %.2f", cases[c].spec, mean_period,
               d.burst_frames);
      check(fabs(mean_period / d.burst_frames - 1) < 0.05, "bad period length", detail);
    }
  }
}

/* A TCP/IPv4 super-packet as a veth hands it over: vnet header, Ethernet,
 * IP (id 0x1234, DF), TCP (seq 1000, flags CWR|PSH|FIN|ACK), `payload`
 * bytes counting up, checksum pending. */
static uint32_t make_super(uint8_t *buf, uint32_t payload, uint16_t mss) {
  struct impair_vnet vh = {IMPAIR_VNET_NEEDS_CSUM, IMPAIR_GSO_TCPV4, 66, mss, 34, 16};
  uint32_t v = sizeof vh;
  memset(buf, 0, v + 66 + payload);
  memcpy(buf, &vh, v);
  uint8_t *eth = buf + v, *ip = eth + 14, *tcp = ip + 20;
  eth[12] = 0x08;
  ip[0] = 0x45;
  ip[4] = 0x12, ip[5] = 0x34, ip[6] = 0x40, ip[8] = 64, ip[9] = 6;
  memcpy(ip + 12, (uint8_t[]){198, 19, 3, 2, 198, 18, 1, 2}, 8);
  tcp[4] = 0, tcp[5] = 0, tcp[6] = 0x03, tcp[7] = 0xe8; /* seq 1000 */
  tcp[12] = 0x80;                                      /* 32-byte header */
  tcp[13] = 0x80 | 0x10 | 0x08 | 0x01;
  for (uint32_t i = 0; i < payload; i++) buf[v + 66 + i] = (uint8_t)(i * 7 + 3);
  return v + 66 + payload;
}

/* What the kernel does to a pending checksum when the frame leaves, then
 * what a receiver checks: the sum over pseudo-header and segment is 0xffff. */
static int tcp_checksum_completes(uint8_t *frame, uint32_t len) {
  struct impair_vnet vh;
  memcpy(&vh, frame, sizeof vh);
  uint8_t *l2 = frame + sizeof vh, *ip = l2 + 14;
  uint32_t seglen = len - (uint32_t)sizeof vh - vh.csum_start;
  uint16_t c = (uint16_t)~impair_csum_fold(impair_csum_add(0, l2 + vh.csum_start, seglen));
  l2[vh.csum_start + vh.csum_offset] = (uint8_t)(c >> 8);
  l2[vh.csum_start + vh.csum_offset + 1] = (uint8_t)c;
  uint8_t pseudo[12];
  memcpy(pseudo, ip + 12, 8);
  pseudo[8] = 0, pseudo[9] = 6, pseudo[10] = (uint8_t)(seglen >> 8), pseudo[11] = (uint8_t)seglen;
  uint32_t sum = impair_csum_add(impair_csum_add(0, pseudo, 12), l2 + vh.csum_start, seglen);
  return impair_csum_fold(sum) == 0xffff && impair_csum_fold(impair_csum_add(0, ip, 20)) == 0xffff;
}

static void test_tso_runs(void) {
  static uint8_t in[70000], out[70000];
  const uint16_t mss = 1448;
  const uint32_t payload = 5 * mss + 100; /* six segments, the last short */
  uint32_t len = make_super(in, payload, mss);
  struct impair_tso t;
  check(impair_tso_parse(in, len, &t) == 6 && t.hdrs == 66, "parse a super-packet", "segments or headers");

  /* Cut into single frames (every second one lost, say), the frames carry
   * the super-packet's bytes in order with the headers the sender's own
   * segmentation would give them. */
  uint32_t v = sizeof(struct impair_vnet), next_seq = 1000;
  int bytes_ok = 1, headers_ok = 1, csum_ok = 1;
  for (uint32_t k = 0; k < 6; k++) {
    uint32_t n = impair_tso_run_len(&t, k, 1);
    impair_tso_run(&t, in, k, 1, out);
    struct impair_vnet vh;
    memcpy(&vh, out, v);
    uint8_t *ip = out + v + 14, *tcp = ip + 20;
    uint32_t part = n - v - 66;
    uint32_t seq = (uint32_t)tcp[4] << 24 | tcp[5] << 16 | tcp[6] << 8 | tcp[7];
    uint8_t want_flags = (uint8_t)(0x10 | (k == 0 ? 0x80 : 0) | (k == 5 ? 0x09 : 0));
    headers_ok &= vh.gso_type == IMPAIR_GSO_NONE && (vh.flags & IMPAIR_VNET_NEEDS_CSUM) && part == (k < 5 ? mss : 100u) &&
                  seq == next_seq && (uint32_t)(ip[2] << 8 | ip[3]) == 52 + part && (uint32_t)(ip[4] << 8 | ip[5]) == 0x1234 + k &&
                  tcp[13] == want_flags;
    bytes_ok &= memcmp(out + v + 66, in + v + 66 + k * mss, part) == 0;
    csum_ok &= tcp_checksum_completes(out, n);
    next_seq += part;
  }
  check(headers_ok, "single frames from a super-packet", "sizes, sequence, IP id, length or flags");
  check(bytes_ok, "single frames from a super-packet", "payload bytes");
  check(csum_ok, "single frames from a super-packet", "a checksum does not complete to a valid one");

  /* A run of segments 1-3 stays a super-packet: the kernel's cut of it must
   * give the same frames, so its fields follow the same rules. */
  uint32_t n = impair_tso_run_len(&t, 1, 3);
  impair_tso_run(&t, in, 1, 3, out);
  struct impair_vnet vh;
  memcpy(&vh, out, v);
  uint8_t *ip = out + v + 14, *tcp = ip + 20;
  check(n == v + 66 + 3u * mss && vh.gso_type == IMPAIR_GSO_TCPV4 && vh.gso_size == mss && vh.hdr_len == 66,
        "a run stays a super-packet", "length or segmentation fields");
  check((ip[2] << 8 | ip[3]) == 52 + 3 * mss && tcp[13] == 0x10 && (tcp[6] << 8 | tcp[7]) == 1000 + mss,
        "a run stays a super-packet", "IP length, flags or sequence");
  check(tcp_checksum_completes(out, n), "a run stays a super-packet", "pending checksum");

  /* What is not a TCP/IPv4 super-packet is left whole. */
  static const struct {
    uint32_t at;
    uint8_t value;
    const char *what;
  } others[] = {
      {1, IMPAIR_GSO_NONE, "a plain frame"},
      {10 + 12, 0x86, "IPv6"},
      {10 + 14 + 9, 17, "UDP"},
  };
  for (size_t i = 0; i < sizeof others / sizeof others[0]; i++) {
    make_super(in, payload, mss);
    in[others[i].at] = others[i].value;
    check(impair_tso_parse(in, len, &t) == 0, "left whole", others[i].what);
  }
}

static void test_fifo_wrap(void) {
  struct impair_fifo f = {5, 3, 4};
  static const uint32_t want[] = {3, 4, 0, 1, 2};
  int ok = 1;
  for (uint32_t i = 0; i < 5; i++) ok &= impair_fifo_at(&f, i) == want[i];
  check(ok, "fifo index wraps at its capacity", "wrong slot");
}

int main(void) {
  test_parse();
  test_release_rule();
  test_loss();
  test_tso_runs();
  test_fifo_wrap();
  printf("impair_test: %d passed, %d failed\n", passed, failed);
  return failed ? 1 : 0;
}
