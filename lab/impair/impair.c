/* impair: joins two interfaces at layer 2 and forwards every frame between
 * them, each direction with its own delay, jitter and loss. The shaped-line
 * lab (lab/netlab) runs it inside the access router's namespace, because
 * this kernel has no netem.
 *
 *   impair [--ab SETTINGS] [--ba SETTINGS] [--seed N] [--queue FRAMES] IF_A IF_B
 *
 * SETTINGS is "delay=MS,jitter=MS,loss=PCT,burst[=FRAMES],badloss=FRACTION"
 * (impair_core.h); --ab is for frames read on IF_A and written to IF_B.
 * Prints "impair ready" once both sockets listen, and one JSON line of
 * counters on SIGUSR1 and on exit (SIGTERM, SIGINT).
 *
 * Constraints that shaped it:
 *  a) 1 Gbit/s of full-sized frames (82,000 a second, plus the ACKs coming
 *     back) on a 2-core machine that also runs the routers, the sender and the
 *     client: one thread, frames read in batches (recvmmsg) straight into
 *     their queue slots and written in batches (sendmmsg), no copy between.
 *  b) Jitter keeps the order of a direction's frames (a frame never leaves
 *     before the one ahead of it), so release times never decrease and a FIFO
 *     per direction is the whole timer: the head is always the next to go.
 *  c) The wait is ppoll with a nanosecond timeout to the earliest head, and
 *     the timer slack is cut to a microsecond: the default 50 us slack would
 *     be a sixth of the 0.3 ms the delay may be off by.
 *  d) Every queue is bounded; a frame that finds its queue full is dropped
 *     and counted, as a router's full buffer would.
 *  e) Frames must arrive whole and with their checksums: the feeding devices
 *     have segmentation and checksum offload switched off (lab/netlab does
 *     it). A frame larger than a slot is counted as truncated and dropped.
 *  f) The sockets ignore their own outgoing frames (PACKET_IGNORE_OUTGOING),
 *     or every frame written to an interface would be read back from it.
 */
#define _GNU_SOURCE
#include <arpa/inet.h>
#include <errno.h>
#include <linux/if_ether.h>
#include <linux/if_packet.h>
#include <net/if.h>
#include <poll.h>
#include <signal.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/prctl.h>
#include <sys/socket.h>
#include <time.h>
#include <unistd.h>

#include "impair_core.h"

#define SLOT 2048   /* bytes per queued frame: an MTU-1500 frame and room to spare */
#define BATCH 64    /* frames per recvmmsg / sendmmsg */
#define RECV_ROUNDS 4 /* batches read per wake before sending again */

#ifndef PACKET_IGNORE_OUTGOING
#define PACKET_IGNORE_OUTGOING 23
#endif

struct stats {
  uint64_t in, out, lost, overflow, truncated, send_errors, sock_drops;
  uint64_t late_sum_ns, late_max_ns;
  uint32_t max_queue;
};

struct direction {
  const char *name;
  int in_fd, out_fd;
  struct impair_dir cfg;
  struct impair_loss_state loss;
  struct impair_rng rng;
  struct impair_fifo fifo;
  uint8_t *frames;   /* cap x SLOT */
  int64_t *release;  /* per slot */
  uint32_t *len;     /* per slot */
  int64_t last_release;
  int blocked;       /* the out socket said EAGAIN: wait for POLLOUT */
  struct stats st;
};

static volatile sig_atomic_t stop_flag, stats_flag;
static void on_stop(int sig) { (void)sig; stop_flag = 1; }
static void on_stats(int sig) { (void)sig; stats_flag = 1; }

static int64_t now_ns(void) {
  struct timespec ts;
  clock_gettime(CLOCK_MONOTONIC, &ts);
  return (int64_t)ts.tv_sec * 1000000000LL + ts.tv_nsec;
}

static void die(const char *what) {
  fprintf(stderr, "impair: %s: %s\n", what, strerror(errno));
  exit(2);
}

static int open_port(const char *ifname) {
  unsigned idx = if_nametoindex(ifname);
  if (!idx) die(ifname);
  /* Protocol 0 until bound: an ETH_P_ALL socket would read every interface's
   * frames in the moment between socket() and bind(). */
  int fd = socket(AF_PACKET, SOCK_RAW | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
  if (fd < 0) die("socket(AF_PACKET)");
  int one = 1;
  if (setsockopt(fd, SOL_PACKET, PACKET_IGNORE_OUTGOING, &one, sizeof one) < 0) die("PACKET_IGNORE_OUTGOING");
  /* Written frames go straight to the veth, which has no queue of its own. */
  setsockopt(fd, SOL_PACKET, PACKET_QDISC_BYPASS, &one, sizeof one);
  /* Room for a few milliseconds of 1 Gbit/s while the loop is sending. */
  int rcv = 16 << 20, snd = 4 << 20;
  if (setsockopt(fd, SOL_SOCKET, SO_RCVBUFFORCE, &rcv, sizeof rcv) < 0)
    setsockopt(fd, SOL_SOCKET, SO_RCVBUF, &rcv, sizeof rcv);
  if (setsockopt(fd, SOL_SOCKET, SO_SNDBUFFORCE, &snd, sizeof snd) < 0)
    setsockopt(fd, SOL_SOCKET, SO_SNDBUF, &snd, sizeof snd);
  struct sockaddr_ll sll = {0};
  sll.sll_family = AF_PACKET;
  sll.sll_protocol = htons(ETH_P_ALL);
  sll.sll_ifindex = (int)idx;
  if (bind(fd, (struct sockaddr *)&sll, sizeof sll) < 0) die(ifname);
  /* Frames for the far side's MAC address must reach us too. */
  struct packet_mreq mr = {0};
  mr.mr_ifindex = (int)idx;
  mr.mr_type = PACKET_MR_PROMISC;
  if (setsockopt(fd, SOL_PACKET, PACKET_ADD_MEMBERSHIP, &mr, sizeof mr) < 0) die("PACKET_MR_PROMISC");
  return fd;
}

static void setup_direction(struct direction *d, const char *name, int in_fd, int out_fd, uint32_t cap,
                            uint64_t seed) {
  d->name = name;
  d->in_fd = in_fd;
  d->out_fd = out_fd;
  d->fifo.cap = cap;
  d->frames = malloc((size_t)cap * SLOT);
  d->release = calloc(cap, sizeof *d->release);
  d->len = calloc(cap, sizeof *d->len);
  if (!d->frames || !d->release || !d->len) die("queue memory");
  impair_rng_seed(&d->rng, seed);
}

/* Reads what the in socket holds (a few batches at most, so that sending is
 * not starved) into the free slots at the tail; lost and oversized frames
 * are not kept. Returns the number of frames read. */
static int receive(struct direction *d) {
  static uint8_t scratch[BATCH][SLOT]; /* for frames that find the queue full */
  struct mmsghdr msgs[BATCH];
  struct iovec iov[BATCH];
  int total = 0;
  for (int round = 0; round < RECV_ROUNDS; round++) {
    struct impair_fifo *f = &d->fifo;
    uint32_t room = f->cap - f->count;
    int full = room == 0;
    int want = full ? BATCH : (int)(room < BATCH ? room : BATCH);
    for (int i = 0; i < want; i++) {
      iov[i].iov_base = full ? scratch[i] : d->frames + (size_t)impair_fifo_at(f, f->count + i) * SLOT;
      iov[i].iov_len = SLOT;
      memset(&msgs[i].msg_hdr, 0, sizeof msgs[i].msg_hdr);
      msgs[i].msg_hdr.msg_iov = &iov[i];
      msgs[i].msg_hdr.msg_iovlen = 1;
    }
    int n = recvmmsg(d->in_fd, msgs, (unsigned)want, MSG_DONTWAIT, NULL);
    if (n <= 0) {
      if (n < 0 && errno != EAGAIN && errno != EINTR) die("recvmmsg");
      break;
    }
    int64_t arrival = now_ns();
    total += n;
    d->st.in += (uint64_t)n;
    if (full) {
      d->st.overflow += (uint64_t)n;
      continue;
    }
    uint32_t kept = 0;
    for (int i = 0; i < n; i++) {
      if (msgs[i].msg_hdr.msg_flags & MSG_TRUNC) {
        d->st.truncated++;
        continue;
      }
      if (impair_lose(&d->cfg, &d->loss, &d->rng)) {
        d->st.lost++;
        continue;
      }
      uint32_t slot = impair_fifo_at(f, f->count + kept);
      if (kept != (uint32_t)i) /* close the gap a dropped frame left */
        memcpy(d->frames + (size_t)slot * SLOT, iov[i].iov_base, msgs[i].msg_len);
      d->len[slot] = msgs[i].msg_len;
      d->last_release = impair_release(d->last_release, arrival, d->cfg.delay_ns,
                                       impair_jitter_sample(&d->cfg, &d->rng));
      d->release[slot] = d->last_release;
      kept++;
    }
    f->count += kept;
    if (f->count > d->st.max_queue) d->st.max_queue = f->count;
    if (n < want) break;
  }
  return total;
}

/* Writes every frame whose time has come, in batches from the head. */
static void send_due(struct direction *d) {
  struct mmsghdr msgs[BATCH];
  struct iovec iov[BATCH];
  struct impair_fifo *f = &d->fifo;
  while (f->count > 0) {
    int64_t now = now_ns();
    int n = 0;
    while (n < BATCH && (uint32_t)n < f->count) {
      uint32_t slot = impair_fifo_at(f, (uint32_t)n);
      if (d->release[slot] > now) break;
      iov[n].iov_base = d->frames + (size_t)slot * SLOT;
      iov[n].iov_len = d->len[slot];
      memset(&msgs[n].msg_hdr, 0, sizeof msgs[n].msg_hdr);
      msgs[n].msg_hdr.msg_iov = &iov[n];
      msgs[n].msg_hdr.msg_iovlen = 1;
      n++;
    }
    if (n == 0) return;
    int sent = sendmmsg(d->out_fd, msgs, (unsigned)n, MSG_DONTWAIT);
    if (sent < 0) {
      if (errno == EAGAIN || errno == ENOBUFS) {
        d->blocked = 1;
        return;
      }
      if (errno == EINTR) continue;
      /* The head frame cannot be sent (the link went down, say): drop it
       * rather than stall the direction. */
      d->st.send_errors++;
      sent = 1;
    } else {
      for (int i = 0; i < sent; i++) {
        uint32_t slot = impair_fifo_at(f, (uint32_t)i);
        uint64_t late = (uint64_t)(now - d->release[slot]);
        d->st.late_sum_ns += late;
        if (late > d->st.late_max_ns) d->st.late_max_ns = late;
      }
      d->st.out += (uint64_t)sent;
    }
    f->head = impair_fifo_at(f, (uint32_t)sent);
    f->count -= (uint32_t)sent;
    d->blocked = 0;
  }
}

static void print_stats(struct direction *dirs) {
  printf("{\"impair\": \"stats\"");
  for (int i = 0; i < 2; i++) {
    struct direction *d = &dirs[i];
    struct tpacket_stats ps;
    socklen_t len = sizeof ps;
    if (getsockopt(d->in_fd, SOL_PACKET, PACKET_STATISTICS, &ps, &len) == 0) d->st.sock_drops += ps.tp_drops;
    struct stats *s = &d->st;
    printf(", \"%s\": {\"in\": %llu, \"out\": %llu, \"lost\": %llu, \"overflow\": %llu, \"truncated\": %llu, "
           "\"send_errors\": %llu, \"socket_drops\": %llu, \"queued\": %u, \"max_queue\": %u, "
           "\"late_mean_us\": %.1f, \"late_max_us\": %.1f}",
           d->name, (unsigned long long)s->in, (unsigned long long)s->out, (unsigned long long)s->lost,
           (unsigned long long)s->overflow, (unsigned long long)s->truncated,
           (unsigned long long)s->send_errors, (unsigned long long)s->sock_drops, d->fifo.count, s->max_queue,
           s->out ? (double)s->late_sum_ns / (double)s->out / 1e3 : 0.0, (double)s->late_max_ns / 1e3);
  }
  printf("}\n");
  fflush(stdout);
}

static void usage(void) {
  fprintf(stderr, "usage: impair [--ab SETTINGS] [--ba SETTINGS] [--seed N] [--queue FRAMES] IF_A IF_B\n"
                  "  SETTINGS: delay=MS,jitter=MS,loss=PCT,burst[=FRAMES],badloss=FRACTION\n");
  exit(2);
}

int main(int argc, char **argv) {
  const char *spec[2] = {"", ""};
  const char *ifs[2] = {NULL, NULL};
  uint64_t seed = (uint64_t)now_ns();
  long cap = 16384; /* 80 ms of 1 Gbit/s in full-sized frames is 6,600 */
  int nif = 0;
  for (int i = 1; i < argc; i++) {
    if (!strcmp(argv[i], "--ab") && i + 1 < argc) spec[0] = argv[++i];
    else if (!strcmp(argv[i], "--ba") && i + 1 < argc) spec[1] = argv[++i];
    else if (!strcmp(argv[i], "--seed") && i + 1 < argc) seed = strtoull(argv[++i], NULL, 0);
    else if (!strcmp(argv[i], "--queue") && i + 1 < argc) cap = strtol(argv[++i], NULL, 0);
    else if (argv[i][0] != '-' && nif < 2) ifs[nif++] = argv[i];
    else usage();
  }
  if (nif != 2 || cap < BATCH || cap > (1 << 20)) usage();

  struct direction dirs[2];
  memset(dirs, 0, sizeof dirs);
  for (int i = 0; i < 2; i++) {
    char err[160];
    if (impair_parse_dir(spec[i], &dirs[i].cfg, err, sizeof err) < 0) {
      fprintf(stderr, "impair: %s: %s\n", i ? "--ba" : "--ab", err);
      return 2;
    }
  }
  int fd_a = open_port(ifs[0]), fd_b = open_port(ifs[1]);
  setup_direction(&dirs[0], "ab", fd_a, fd_b, (uint32_t)cap, seed);
  setup_direction(&dirs[1], "ba", fd_b, fd_a, (uint32_t)cap, seed ^ 0x5bd1e995u);

  prctl(PR_SET_TIMERSLACK, 1000UL);
  struct sigaction sa = {0};
  sa.sa_handler = on_stop;
  sigaction(SIGTERM, &sa, NULL);
  sigaction(SIGINT, &sa, NULL);
  sa.sa_handler = on_stats;
  sigaction(SIGUSR1, &sa, NULL);
  printf("impair ready: %s <-> %s, ab \"%s\", ba \"%s\"\n", ifs[0], ifs[1], spec[0], spec[1]);
  fflush(stdout);

  while (!stop_flag) {
    if (stats_flag) {
      stats_flag = 0;
      print_stats(dirs);
    }
    struct pollfd pfd[2] = {{fd_a, POLLIN, 0}, {fd_b, POLLIN, 0}};
    int64_t wait = -1;
    for (int i = 0; i < 2; i++) {
      struct direction *d = &dirs[i];
      send_due(d);
      if (d->blocked) {
        /* The out socket is the other direction's in socket. */
        pfd[i == 0 ? 1 : 0].events |= POLLOUT;
      } else if (d->fifo.count > 0) {
        int64_t until = d->release[d->fifo.head] - now_ns();
        if (until < 0) until = 0;
        if (wait < 0 || until < wait) wait = until;
      }
    }
    struct timespec ts = {wait / 1000000000LL, wait % 1000000000LL};
    int r = ppoll(pfd, 2, wait < 0 ? NULL : &ts, NULL);
    if (r < 0) {
      if (errno == EINTR) continue;
      die("ppoll");
    }
    if (pfd[0].revents & POLLIN) receive(&dirs[0]);
    if (pfd[1].revents & POLLIN) receive(&dirs[1]);
  }
  print_stats(dirs);
  return 0;
}
