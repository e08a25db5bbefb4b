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
  test_fifo_wrap();
  printf("impair_test: %d passed, %d failed\n", passed, failed);
  return failed ? 1 : 0;
}
