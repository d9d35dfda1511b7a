/*
 * Preloaded into every 32-bit process that qemu-i386 runs for 32-bit Wine
 * (see setup.sh), it mends two ways in which qemu 7.2's user-mode emulation
 * differs from Linux and which stop Wine:
 *
 *  1. qemu takes MAP_FIXED_NOREPLACE as a hint and maps elsewhere when the
 *     range is taken, where Linux fails with EEXIST. Wine reserves its
 *     address ranges that way and would end up with them in the wrong place.
 *  2. qemu delivers SIGSEGV, SIGILL, SIGFPE and SIGBUS with the trap number
 *     of the signal context at -1; Wine's handlers choose the Windows
 *     exception by that number.
 *
 * Built with -nostdlib and without libc headers (none are installed for
 * i386): the few types and numbers it needs are declared here. Built for
 * x86_64 it is empty, a twin that only keeps the loader quiet when a 64-bit
 * process (the Wine server) inherits LD_PRELOAD.
 */
#if defined(__i386__)

typedef unsigned int size_t;

enum {
  kSysMunmap = 91,
  kSysMmap2 = 192,
  kEinval = 22,
  kEexist = 17,
  kPageSize = 4096, /* mmap2 counts offsets in pages of this size */
  kMapFixedNoreplace = 0x100000,
  kSigIll = 4,
  kSigBus = 7,
  kSigFpe = 8,
  kSigSegv = 11,
  kSaSiginfo = 4,
  kSignals = 65,
};

#define kMapFailed ((void*)-1)
#define kRtldNext ((void*)-1)

/* From libc, which every process that loads this library has. */
extern int* __errno_location(void);
extern void* dlsym(void* handle, const char* name);

/* Makes system call `number` with up to six arguments; gives the kernel's
 * result, a negative error number on failure. */
__attribute__((visibility("hidden"))) long SystemCall6(long number, long a, long b, long c,
                                                       long d, long e, long f);
__asm__(
    ".text\n"
    ".globl SystemCall6\n"
    ".hidden SystemCall6\n"
    ".type SystemCall6, @function\n"
    "SystemCall6:\n"
    "  push %ebp\n"
    "  push %edi\n"
    "  push %esi\n"
    "  push %ebx\n"
    "  mov 20(%esp), %eax\n"
    "  mov 24(%esp), %ebx\n"
    "  mov 28(%esp), %ecx\n"
    "  mov 32(%esp), %edx\n"
    "  mov 36(%esp), %esi\n"
    "  mov 40(%esp), %edi\n"
    "  mov 44(%esp), %ebp\n"
    "  int $0x80\n"
    "  pop %ebx\n"
    "  pop %esi\n"
    "  pop %edi\n"
    "  pop %ebp\n"
    "  ret\n");

static void* Failed(int error) {
  *__errno_location() = error;
  return kMapFailed;
}

static void* Map(void* address, size_t length, int protection, int flags, int fd,
                 long long offset) {
  /* As glibc: mmap2 counts the offset in pages. */
  if (offset < 0 || (offset & (kPageSize - 1)) != 0) return Failed(kEinval);
  const int noreplace = (flags & kMapFixedNoreplace) != 0;
  const long result = SystemCall6(kSysMmap2, (long)address, (long)length, protection,
                                  flags & ~kMapFixedNoreplace, fd, (long)(offset >> 12));
  if (result < 0 && result > -4096) return Failed((int)-result);
  if (noreplace && (void*)result != address) {
    /* Mapped elsewhere: the range was taken, which Linux reports as EEXIST. */
    SystemCall6(kSysMunmap, result, (long)length, 0, 0, 0, 0);
    return Failed(kEexist);
  }
  return (void*)result;
}

__attribute__((visibility("default"))) void* mmap(void* address, size_t length, int protection,
                                                  int flags, int fd, long offset) {
  return Map(address, length, protection, flags, fd, offset);
}

__attribute__((visibility("default"))) void* mmap64(void* address, size_t length,
                                                    int protection, int flags, int fd,
                                                    long long offset) {
  return Map(address, length, protection, flags, fd, offset);
}

/* glibc's struct sigaction on i386. */
typedef void (*Handler)(int, void*, void*);
struct Action {
  Handler handler; /* sa_handler or sa_sigaction */
  unsigned long mask[32];
  int flags;
  void (*restorer)(void);
};

/* What the program asked for, for each signal whose handler this library
 * stands in front of. */
static struct {
  Handler handler;
  int flags;
} wanted[kSignals];

static int (*real_sigaction)(int, const struct Action*, struct Action*);

/* The x86 trap number that Linux gives for a signal and its si_code. */
static int TrapNumber(int signal, int code) {
  switch (signal) {
    case kSigSegv:
      return code == 0x80 /* SI_KERNEL: a protection fault */ ? 13 : 14;
    case kSigIll:
      return 6;
    case kSigFpe:
      if (code == 1 /* FPE_INTDIV */) return 0;
      if (code == 2 /* FPE_INTOVF */) return 4;
      return 16; /* an x87 floating-point error */
    case kSigBus:
      return code == 1 /* BUS_ADRALN */ ? 17 : 14;
  }
  return -1;
}

static void Dispatch(int signal, void* info, void* context) {
  /* ucontext_t: uc_flags, uc_link, uc_stack (12 bytes), then the registers,
   * of which the trap number is the thirteenth. */
  int* trap = (int*)((char*)context + 20 + 12 * 4);
  const int code = ((int*)info)[2]; /* si_signo, si_errno, si_code */
  if (*trap == -1) *trap = TrapNumber(signal, code);
  if (wanted[signal].flags & kSaSiginfo) {
    wanted[signal].handler(signal, info, context);
  } else {
    ((void (*)(int))wanted[signal].handler)(signal);
  }
}

static int Mended(int signal) {
  return signal == kSigSegv || signal == kSigIll || signal == kSigFpe || signal == kSigBus;
}

__attribute__((visibility("default"))) int sigaction(int signal, const struct Action* action,
                                                     struct Action* old) {
  if (real_sigaction == 0) {
    real_sigaction = (int (*)(int, const struct Action*, struct Action*))dlsym(kRtldNext,
                                                                              "sigaction");
    if (real_sigaction == 0) {
      *__errno_location() = kEinval;
      return -1;
    }
  }
  if (!Mended(signal)) return real_sigaction(signal, action, old);

  const Handler before = wanted[signal].handler;
  const int before_flags = wanted[signal].flags;
  struct Action replaced;
  const struct Action* installed = action;
  /* SIG_DFL (0) and SIG_IGN (1) go through as they are. */
  if (action != 0 && (unsigned long)action->handler > 1) {
    replaced = *action;
    replaced.handler = Dispatch;
    replaced.flags |= kSaSiginfo;
    installed = &replaced;
  }
  const int result = real_sigaction(signal, installed, old);
  if (result != 0) return result;
  if (old != 0 && old->handler == Dispatch) {
    old->handler = before;
    old->flags = before_flags;
  }
  if (action != 0) {
    wanted[signal].handler = action->handler;
    wanted[signal].flags = action->flags;
  }
  return 0;
}

#endif
