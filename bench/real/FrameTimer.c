/* Frame timer preloaded into a GL program: times every frame from its first glClear to the end of
 * its glXSwapBuffers (wall and calling-thread CPU), so the idle polling between frames is left
 * out, and rewrites the running totals "frames wall_ns cpu_ns" to $FRAME_TIMER_OUT after each swap. */
#define _GNU_SOURCE
#include <GL/glx.h>
#include <dlfcn.h>
#include <stdio.h>
#include <stdlib.h>
#include <time.h>

static int inFrame;               /* 1 between a frame's first glClear and its swap */
static struct timespec wallStart, cpuStart;
static long long frames, wallNs, cpuNs;

static long long since(clockid_t clock, const struct timespec* start) {
    struct timespec now;
    clock_gettime(clock, &now);
    return (now.tv_sec - start->tv_sec) * 1000000000LL + (now.tv_nsec - start->tv_nsec);
}

void glClear(GLbitfield mask) {
    static void (*real)(GLbitfield);
    if (!real) real = (void (*)(GLbitfield))dlsym(RTLD_NEXT, "glClear");
    if (!inFrame) {
        inFrame = 1;
        clock_gettime(CLOCK_MONOTONIC, &wallStart);
        clock_gettime(CLOCK_THREAD_CPUTIME_ID, &cpuStart);
    }
    real(mask);
}

void glXSwapBuffers(Display* display, GLXDrawable drawable) {
    static void (*real)(Display*, GLXDrawable);
    if (!real) real = (void (*)(Display*, GLXDrawable))dlsym(RTLD_NEXT, "glXSwapBuffers");
    real(display, drawable);
    if (!inFrame) return;
    inFrame = 0;
    wallNs += since(CLOCK_MONOTONIC, &wallStart);
    cpuNs += since(CLOCK_THREAD_CPUTIME_ID, &cpuStart);
    ++frames;
    const char* path = getenv("FRAME_TIMER_OUT");
    FILE* out = path ? fopen(path, "w") : NULL;
    if (!out) return;
    fprintf(out, "%lld %lld %lld\n", frames, wallNs, cpuNs);
    fclose(out);
}
