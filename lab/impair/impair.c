/* impair: joins two interfaces at layer 2 and forwards every frame between
 * them, each direction with its own delay, jitter and loss. The shaped-line
 * lab (lab/netlab) runs it inside the access router's namespace, because
 * this kernel has no netem.
 *
 *   impair [--ab SETTINGS] [--ba SETTINGS] [--seed N] [--queue FRAMES] [--queue-mb MB] [--realtime]
 *          IF_A IF_B
 *
 * SETTINGS is "delay=MS,jitter=MS,loss=PCT,burst[=FRAMES],badloss=FRACTION"
 * (impair_core.h); --ab is for frames read on IF_A and written to IF_B.
 * Prints "impair ready" once both sockets listen, and one JSON line of
 * counters on SIGUSR1 and on exit (SIGTERM, SIGINT).
 *
 * Constraints that shaped it:
 *  a) 1 Gbit/s (82,000 full-sized frames a second, plus the ACKs coming
 *     back) on a 2-core machine that also runs the routers, the sender and the
 *     client: one thread, frames read in batches (recvmmsg) and written in
 *     batches (sendmmsg).
 *  b) Jitter keeps the order of a direction's frames (a frame never leaves
 *     before the one ahead of it), so release times never decrease and a FIFO
 *     per direction is the whole timer: the head is always the next to go.
 *  c) A frame's delay counts from the kernel's receive stamp (SO_TIMESTAMPNS),
 *     not from when the loop got round to reading it: waking up takes tens
 *     of microseconds, which would otherwise add to every delay.
 *  d) The wait is ppoll with a nanosecond timeout to the earliest head, and
 *     the timer slack is cut to a microsecond: the default 50 us slack would
 *     be a sixth of the 0.3 ms the delay may be off by.
 *  e) --realtime runs it under SCHED_FIFO: on a machine busy with builds a
 *     normal thread wakes late by a tenth of a millisecond and more, which a
 *     real line's delay does not do. It sleeps between frames, so it cannot
 *     starve the machine (and the kernel's real-time throttling stays on).
 *  f) Every queue is bounded; a frame that finds its queue full is dropped
 *     and counted, as a router's full buffer would.
 *  g) The veths pass TCP super-packets of up to 64 KB (segmentation offload)
 *     with their checksums still to be done. The sockets use PACKET_VNET_HDR,
 *     which hands over both facts and takes them back on writing, so the
 *     routers after the element still see super-packets. Loss is judged per
 *     wire frame all the same (enqueue).
 *  h) The sockets ignore their own outgoing frames (PACKET_IGNORE_OUTGOING),
 *     or every frame written to an interface would be read back from it.
 */
#define _GNU_SOURCE
#include <arpa/inet.h>
#include <errno.h>
#include <linux/if_ether.h>
#include <linux/if_packet.h>
#include <net/if.h>
#include <poll.h>
#include <sched.h>
#include <signal.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/prctl.h>
#include <sys/socket.h>
#include <time.h>
#include <unistd.h>

#include "impair_core.h"

#define MAX_FRAME (65536 + 256) /* a 64 KB super-packet, its headers, the vnet header */
#define BATCH 64                 /* frames per recvmmsg / sendmmsg */
#define RECV_ROUNDS 4            /* batches read per wake before sending again */

#ifndef PACKET_IGNORE_OUTGOING
#define PACKET_IGNORE_OUTGOING 23
#endif

struct stats {
  uint64_t in, out, lost, overflow, truncated, send_errors, sock_drops, cut;
  uint64_t late_sum_ns, late_max_ns;
  uint32_t max_queue;
};

struct entry {
  int64_t release;
  uint32_t off, len; /* in the byte ring: vnet header and frame */
};

/* A direction's queue: entries in a FIFO, their bytes in a ring in the same
 * order. Super-packets and ACKs differ forty-fold in size, so bytes are
 * allocated as they come (a frame never wraps: the end of the ring is
 * skipped instead). */
struct direction {
  const char *name;
  int in_fd, out_fd;
  struct impair_dir cfg;
  struct impair_loss_state loss;
  struct impair_rng rng;
  struct impair_fifo fifo;
  struct entry *ent;
  uint8_t *bytes;
  uint32_t bcap, btail;
  int wrapped;        /* the newest bytes sit before the oldest ones */
  uint8_t *scratch;   /* BATCH x MAX_FRAME: recvmmsg's landing place */
  int64_t last_release;
  int blocked;        /* the out socket said EAGAIN: wait for POLLOUT */
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

static int64_t realtime_ns(void) {
  struct timespec ts;
  clock_gettime(CLOCK_REALTIME, &ts);
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
  if (setsockopt(fd, SOL_PACKET, PACKET_VNET_HDR, &one, sizeof one) < 0) die("PACKET_VNET_HDR");
  /* Written frames go straight to the veth, which has no queue of its own. */
  setsockopt(fd, SOL_PACKET, PACKET_QDISC_BYPASS, &one, sizeof one);
  if (setsockopt(fd, SOL_SOCKET, SO_TIMESTAMPNS, &one, sizeof one) < 0) die("SO_TIMESTAMPNS");
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
                            uint32_t bytes, uint64_t seed) {
  d->name = name;
  d->in_fd = in_fd;
  d->out_fd = out_fd;
  d->fifo.cap = cap;
  d->bcap = bytes;
  d->ent = calloc(cap, sizeof *d->ent);
  d->bytes = malloc(bytes);
  d->scratch = malloc((size_t)BATCH * MAX_FRAME);
  if (!d->ent || !d->bytes || !d->scratch) die("queue memory");
  impair_rng_seed(&d->rng, seed);
}

/* Room for `len` bytes at the ring's tail, or NULL when the queue is full. */
static uint8_t *ring_alloc(struct direction *d, uint32_t len, uint32_t *off) {
  struct impair_fifo *f = &d->fifo;
  if (f->count == f->cap) return NULL;
  if (f->count == 0) d->btail = 0, d->wrapped = 0;
  uint32_t head = f->count ? d->ent[f->head].off : 0;
  if (!d->wrapped && d->bcap - d->btail < len) {
    if (f->count && head < len) return NULL;
    d->btail = 0; /* skip the end: frames are kept whole */
    d->wrapped = f->count > 0;
  }
  if (d->wrapped && head - d->btail < len) return NULL;
  *off = d->btail;
  d->btail += len;
  return d->bytes + *off;
}

/* A queue entry of `len` bytes released after its delay and jitter, to be
 * filled by the caller; NULL when the queue is full (counted). */
static uint8_t *queue_slot(struct direction *d, uint32_t len, int64_t arrival) {
  uint32_t off;
  uint8_t *dst = ring_alloc(d, len, &off);
  if (!dst) {
    d->st.overflow++;
    return NULL;
  }
  struct impair_fifo *f = &d->fifo;
  struct entry *e = &d->ent[impair_fifo_at(f, f->count)];
  d->last_release = impair_release(d->last_release, arrival, d->cfg.delay_ns, impair_jitter_sample(&d->cfg, &d->rng));
  e->release = d->last_release;
  e->off = off;
  e->len = len;
  f->count++;
  if (f->count > d->st.max_queue) d->st.max_queue = f->count;
  return dst;
}

/* Queues a super-packet's surviving runs of segments [first, end). */
static void queue_run(struct direction *d, const struct impair_tso *t, const uint8_t *frame, uint32_t first,
                      uint32_t end, int64_t arrival) {
  if (end <= first) return;
  uint8_t *dst = queue_slot(d, impair_tso_run_len(t, first, end - first), arrival);
  if (dst) impair_tso_run(t, frame, first, end - first, dst);
}

/* Queues one packet read from the wire. Loss is judged per wire frame: a
 * super-packet that loses nothing is queued whole, one that loses segment k
 * leaves as the run before k and the run after it, each still a
 * super-packet for the routers behind (cutting every frame apart would cost
 * them several times the CPU at 1 Gbit/s). */
static void enqueue(struct direction *d, const uint8_t *frame, uint32_t len, int64_t arrival) {
  struct impair_tso t;
  uint32_t segs = d->cfg.loss > 0 ? impair_tso_parse(frame, len, &t) : 0;
  if (segs == 0) {
    if (impair_lose(&d->cfg, &d->loss, &d->rng)) {
      d->st.lost++;
      return;
    }
    uint8_t *dst = queue_slot(d, len, arrival);
    if (dst) memcpy(dst, frame, len);
    return;
  }
  uint32_t first = 0;
  for (uint32_t k = 0; k < segs; k++) {
    if (!impair_lose(&d->cfg, &d->loss, &d->rng)) continue;
    d->st.lost++;
    d->st.cut += first == 0; /* super-packets that lost something */
    queue_run(d, &t, frame, first, k, arrival);
    first = k + 1;
  }
  queue_run(d, &t, frame, first, segs, arrival);
}

static int64_t arrival_of(struct msghdr *h, int64_t read_at, int64_t mono_minus_wall) {
  for (struct cmsghdr *c = CMSG_FIRSTHDR(h); c; c = CMSG_NXTHDR(h, c)) {
    if (c->cmsg_level == SOL_SOCKET && c->cmsg_type == SO_TIMESTAMPNS) {
      struct timespec ts;
      memcpy(&ts, CMSG_DATA(c), sizeof ts);
      int64_t stamped = (int64_t)ts.tv_sec * 1000000000LL + ts.tv_nsec + mono_minus_wall;
      return stamped <= read_at ? stamped : read_at; /* a clock step must not send frames to the future */
    }
  }
  return read_at;
}

/* Reads what the in socket holds (a few batches at most, so that sending is
 * not starved) and queues it. */
static void receive(struct direction *d) {
  struct mmsghdr msgs[BATCH];
  struct iovec iov[BATCH];
  union {
    char buf[CMSG_SPACE(sizeof(struct timespec))];
    struct cmsghdr align;
  } ctrl[BATCH];
  for (int round = 0; round < RECV_ROUNDS; round++) {
    for (int i = 0; i < BATCH; i++) {
      iov[i].iov_base = d->scratch + (size_t)i * MAX_FRAME;
      iov[i].iov_len = MAX_FRAME;
      memset(&msgs[i].msg_hdr, 0, sizeof msgs[i].msg_hdr);
      msgs[i].msg_hdr.msg_iov = &iov[i];
      msgs[i].msg_hdr.msg_iovlen = 1;
      msgs[i].msg_hdr.msg_control = ctrl[i].buf;
      msgs[i].msg_hdr.msg_controllen = sizeof ctrl[i].buf;
    }
    int n = recvmmsg(d->in_fd, msgs, BATCH, MSG_DONTWAIT, NULL);
    if (n <= 0) {
      if (n < 0 && errno != EAGAIN && errno != EINTR) die("recvmmsg");
      return;
    }
    /* Receive stamps are wall-clock time; release times are monotonic. */
    int64_t read_at = now_ns(), mono_minus_wall = read_at - realtime_ns();
    for (int i = 0; i < n; i++) {
      d->st.in++;
      if (msgs[i].msg_hdr.msg_flags & MSG_TRUNC) {
        d->st.truncated++;
        continue;
      }
      int64_t arrival = arrival_of(&msgs[i].msg_hdr, read_at, mono_minus_wall);
      enqueue(d, iov[i].iov_base, msgs[i].msg_len, arrival);
    }
    if (n < BATCH) return;
  }
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
      struct entry *e = &d->ent[impair_fifo_at(f, (uint32_t)n)];
      if (e->release > now) break;
      iov[n].iov_base = d->bytes + e->off;
      iov[n].iov_len = e->len;
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
        uint64_t late = (uint64_t)(now - d->ent[impair_fifo_at(f, (uint32_t)i)].release);
        d->st.late_sum_ns += late;
        if (late > d->st.late_max_ns) d->st.late_max_ns = late;
      }
      d->st.out += (uint64_t)sent;
    }
    for (int i = 0; i < sent; i++) {
      uint32_t old = d->ent[f->head].off;
      f->head = impair_fifo_at(f, 1);
      f->count--;
      /* Once the head has moved back to the ring's start, the skipped end
       * is free again and the bytes are in one run. */
      if (f->count == 0 || d->ent[f->head].off < old) d->wrapped = 0;
    }
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
           "\"send_errors\": %llu, \"socket_drops\": %llu, \"queued\": %u, \"max_queue\": %u, \"cut\": %llu, "
           "\"late_mean_us\": %.1f, \"late_max_us\": %.1f}",
           d->name, (unsigned long long)s->in, (unsigned long long)s->out, (unsigned long long)s->lost,
           (unsigned long long)s->overflow, (unsigned long long)s->truncated,
           (unsigned long long)s->send_errors, (unsigned long long)s->sock_drops, d->fifo.count, s->max_queue, (unsigned long long)s->cut,
           s->out ? (double)s->late_sum_ns / (double)s->out / 1e3 : 0.0, (double)s->late_max_ns / 1e3);
  }
  printf("}\n");
  fflush(stdout);
}

static void usage(void) {
  fprintf(stderr, "usage: impair [--ab SETTINGS] [--ba SETTINGS] [--seed N] [--queue FRAMES] [--queue-mb MB] [--realtime] IF_A IF_B\n"
                  "  SETTINGS: delay=MS,jitter=MS,loss=PCT,burst[=FRAMES],badloss=FRACTION\n");
  exit(2);
}

int main(int argc, char **argv) {
  const char *spec[2] = {"", ""};
  const char *ifs[2] = {NULL, NULL};
  uint64_t seed = (uint64_t)now_ns();
  long cap = 65536;          /* frames queued per direction */
  long queue_mb = 64;        /* their bytes: 40 ms of 1 Gbit/s is 5 MB */
  int nif = 0, realtime = 0;
  for (int i = 1; i < argc; i++) {
    if (!strcmp(argv[i], "--ab") && i + 1 < argc) spec[0] = argv[++i];
    else if (!strcmp(argv[i], "--ba") && i + 1 < argc) spec[1] = argv[++i];
    else if (!strcmp(argv[i], "--seed") && i + 1 < argc) seed = strtoull(argv[++i], NULL, 0);
    else if (!strcmp(argv[i], "--queue") && i + 1 < argc) cap = strtol(argv[++i], NULL, 0);
    else if (!strcmp(argv[i], "--queue-mb") && i + 1 < argc) queue_mb = strtol(argv[++i], NULL, 0);
    else if (!strcmp(argv[i], "--realtime")) realtime = 1;
    else if (argv[i][0] != '-' && nif < 2) ifs[nif++] = argv[i];
    else usage();
  }
  if (nif != 2 || cap < BATCH || cap > (1 << 22) || queue_mb < 1 || queue_mb > 1024) usage();

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
  uint32_t bytes = (uint32_t)queue_mb << 20;
  setup_direction(&dirs[0], "ab", fd_a, fd_b, (uint32_t)cap, bytes, seed);
  setup_direction(&dirs[1], "ba", fd_b, fd_a, (uint32_t)cap, bytes, seed ^ 0x5bd1e995u);

  prctl(PR_SET_TIMERSLACK, 1000UL);
  if (realtime) {
    struct sched_param sp = {.sched_priority = 10};
    if (sched_setscheduler(0, SCHED_FIFO, &sp) < 0) fprintf(stderr, "impair: no SCHED_FIFO: %s\n", strerror(errno));
  }
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
        int64_t until = d->ent[d->fifo.head].release - now_ns();
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
