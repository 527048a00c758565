// A stand-in for ffmpeg and ffprobe in tests of the capture's child
// processes, built for the system under test. Copied as ffmpeg (ffmpeg.exe)
// it reads its standard input to the end, in binary, and writes into its
// output file (the last argument, behind "file:") what it received: the
// byte count and FNV-1a hash of the frames, the rate, the FNV-1a hash of the
// sound track it was given with the second -i, and every argument, one a
// line. Copied as ffprobe it reads such a file back and reports a complete
// video of those frames in ffprobe's compact form, with the codecs that the
// file's extension calls for.
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>
#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#endif

namespace {

constexpr uint64_t FrameBytes = 1920ull * 1080ull * 4ull;

struct Fnv {
    uint64_t hash = 0xcbf29ce484222325ull;
    uint64_t count = 0;
    void add(const unsigned char* bytes, size_t n) {
        for (size_t i = 0; i < n; ++i) hash = (hash ^ bytes[i]) * 0x100000001b3ull;
        count += n;
    }
};

std::string plain(const std::string& name) { return name.rfind("file:", 0) == 0 ? name.substr(5) : name; }

std::string hex(uint64_t value) {
    char text[17];
    std::snprintf(text, sizeof text, "%016llx", static_cast<unsigned long long>(value));
    return text;
}

std::string file_hash(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return "missing";
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    Fnv fnv;
    fnv.add(reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size());
    return hex(fnv.hash);
}

// The value after the n-th (0-based) occurrence of option, or "".
std::string option(const std::vector<std::string>& args, const std::string& name, int n = 0) {
    for (size_t i = 1; i + 1 < args.size(); ++i)
        if (args[i] == name && n-- == 0) return args[i + 1];
    return "";
}

int encode(const std::vector<std::string>& args) {
#ifdef _WIN32
    _setmode(_fileno(stdin), _O_BINARY);
#endif
    Fnv frames;
    unsigned char buffer[65536];
    for (size_t n; (n = std::fread(buffer, 1, sizeof buffer, stdin)) > 0;) frames.add(buffer, n);
    std::ofstream out(plain(args.back()), std::ios::binary);
    out << "bytes " << frames.count << "\nframes " << frames.count / FrameBytes << "\nframes_fnv1a "
        << hex(frames.hash) << "\nrate " << option(args, "-framerate") << "\naudio_fnv1a "
        << file_hash(plain(option(args, "-i", 1))) << "\n";
    for (size_t i = 1; i < args.size(); ++i) out << "arg " << args[i] << "\n";
    return out.good() ? 0 : 1;
}

std::string field(const std::string& report, const std::string& key) {
    std::istringstream lines(report);
    for (std::string line; std::getline(lines, line);)
        if (line.rfind(key + " ", 0) == 0) return line.substr(key.size() + 1);
    return "";
}

bool ends_with(const std::string& text, const std::string& suffix) {
    return text.size() >= suffix.size() && text.compare(text.size() - suffix.size(), suffix.size(), suffix) == 0;
}

int probe(const std::vector<std::string>& args) {
    const std::string path = plain(args.back());
    std::ifstream in(path, std::ios::binary);
    if (!in) return 1;
    const std::string report((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const std::string frames = field(report, "frames");
    const double seconds = std::stod(frames) / std::stod(field(report, "rate"));
    const bool webm = ends_with(path, ".webm");
    const char* const video = webm ? "vp9" : "h264";
    const char* const audio = webm ? "opus" : ends_with(path, ".mkv") ? "flac" : "aac";
    std::printf("stream|codec_name=%s|codec_type=video|duration=%.6f|nb_read_packets=%s\n", video, seconds,
                frames.c_str());
    std::printf("stream|codec_name=%s|codec_type=audio|duration=%.6f|nb_read_packets=1\n", audio, seconds);
    std::printf("format|duration=%.6f\n", seconds);
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv, argv + argc);
    if (args.size() < 2) return 2;
    return args[0].find("ffprobe") != std::string::npos ? probe(args) : encode(args);
}
