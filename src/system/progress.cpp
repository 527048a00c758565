#include "system/progress.h"

namespace {

double seconds_since(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

bool shown(const Progress& p) { return p.terminal || p.plainLines; }

void print_line(Progress& p, int64_t done, const char* end) {
    const double elapsed = seconds_since(p.start);
    const double rate = elapsed > 0 ? double(done) / elapsed : 0.0;
    // Whole seconds left, kept within 64 bits for a huge total.
    const double left = rate > 0 ? double(p.total - done) / rate : 0.0;
    const long long leftSeconds = left < 9e15 ? static_cast<long long>(left) : 9000000000000000LL;
    const int percent = p.total > 0 ? int(done * 100 / p.total) : 100;
    std::fprintf(p.out, "%sframe %lld of %lld (%d%%), %.1f frames/s, %lld:%02lld left%s", p.terminal ? "\r" : "",
                 static_cast<long long>(done), static_cast<long long>(p.total), percent, rate, leftSeconds / 60,
                 leftSeconds % 60, end);
    std::fflush(p.out);
}

} // namespace

Progress start_progress(std::FILE* out, bool terminal, int64_t total) {
    Progress p;
    p.out = out;
    p.terminal = terminal;
    p.total = total;
    p.start = std::chrono::steady_clock::now();
    p.lastDraw = p.start;
    p.nextPlainReport = total / 10;
    return p;
}

Progress start_terminal_progress(std::FILE* out, bool terminal, int64_t total) {
    Progress p = start_progress(out, terminal, total);
    p.plainLines = false;
    return p;
}

void report_progress(Progress& p, int64_t done) {
    if (!shown(p)) return;
    if (p.terminal) {
        // At most ten redraws a second.
        const auto now = std::chrono::steady_clock::now();
        if (now - p.lastDraw < std::chrono::milliseconds(100) && done < p.total) return;
        p.lastDraw = now;
        print_line(p, done, "\033[K");
        p.lineOpen = true;
    } else if (done >= p.nextPlainReport && done < p.total) {
        // Without a terminal, one line at every tenth of the work.
        print_line(p, done, "\n");
        p.nextPlainReport += p.total / 10 > 0 ? p.total / 10 : 1;
    }
}

void finish_progress(Progress& p, int64_t done) {
    if (!shown(p)) return;
    print_line(p, done, p.terminal ? "\033[K\n" : "\n");
    p.lineOpen = false;
}

void end_progress_line(Progress& p) {
    if (!p.lineOpen) return;
    std::fputs("\n", p.out);
    std::fflush(p.out);
    p.lineOpen = false;
}
