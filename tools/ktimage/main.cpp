// ktimage: converts BMP files to and from the "MCG " and "SLD" formats and prints file headers.
#include "BmpDecoder.h"
#include "BmpHeader.h"
#include "BmpWriter.h"
#include "ByteOrder.h"
#include "McgDecoder.h"
#include "McgHeader.h"
#include "McgWriter.h"
#include "SldDecoder.h"
#include "SldHeader.h"
#include "SldWriter.h"
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

enum class Format { unknown, bmp, mcg, sld };

const char* usage =
    "usage: ktimage info FILE\n"
    "       ktimage bmp|mcg|sld INPUT OUTPUT\n"
    "INPUT may be a BMP, MCG or SLD file; SLD output needs an 8-bit picture.\n";

bool readFile(const char* name, std::vector<uint8_t>& bytes)
{
    std::ifstream in(name, std::ios::binary);
    if (!in)
        return false;
    bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return !in.bad();
}

bool writeFile(const char* name, const std::vector<uint8_t>& bytes)
{
    std::ofstream out(name, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(out);
}

Format formatOf(const std::vector<uint8_t>& bytes)
{
    if (bytes.size() >= 2 && ByteOrder::get16(bytes.data()) == BmpHeader::typeValue)
        return Format::bmp;
    if (bytes.size() >= 4 && ByteOrder::get32(bytes.data()) == McgHeader::magicValue)
        return Format::mcg;
    // The readers take very short files for SLD; a tool asked about a file
    // wants the real magic.
    if (bytes.size() >= SldHeader::fixedSize && ByteOrder::get32(bytes.data()) == SldHeader::magicValue)
        return Format::sld;
    return Format::unknown;
}

PackedDib decode(const std::vector<uint8_t>& bytes, uint32_t* flags)
{
    std::memset(flags, 0, 256 * sizeof *flags);
    switch (formatOf(bytes)) {
    case Format::bmp:
        return BmpDecoder::decode(bytes.data(), bytes.size());
    case Format::mcg:
        McgDecoder::readFlags(bytes.data(), bytes.size(), flags);
        return McgDecoder::decode(bytes.data(), bytes.size());
    case Format::sld:
        return SldDecoder::decodeFile(bytes.data(), bytes.size());
    default:
        return PackedDib();
    }
}

void printBmp(const std::vector<uint8_t>& bytes)
{
    BmpHeader h;
    bool valid = h.read(bytes.data(), bytes.size());
    h.readFileHeader(bytes.data(), bytes.size());
    std::printf("format BMP%s\nfile size field %u (file %zu bytes)\nbits offset %u\n",
                valid ? "" : " (not readable)", h.fileSize, bytes.size(), h.bitsOffset);
    if (valid)
        std::printf("info header %u bytes\nwidth %d\nheight %d%s\nbits %u\ncompression %u\n"
                    "colours %u\n",
                    h.infoSize, h.width, h.height, h.topDown ? " (top-down)" : "", h.bitCount,
                    h.compression, h.colourCount);
}

void printMcg(const std::vector<uint8_t>& bytes)
{
    McgHeader h;
    h.read(bytes.data(), bytes.size());
    std::printf("format MCG%s\nwidth %d\nheight %d\nbits %u\npixel size %u\ncolours %u\n"
                "compression %u\n",
                h.fits(bytes.size()) ? "" : " (not readable)", h.width, h.height, h.bitCount,
                h.pixelSize, h.colourCount, h.compression);
    if (h.fits(bytes.size()))
        std::printf("stream %zu bytes\n", bytes.size() - h.streamOffset());
}

void printSld(const std::vector<uint8_t>& bytes)
{
    SldHeader h;
    h.takeFixed(bytes.data(), bytes.size());
    std::printf("format SLD\nwidth %u\nheight %u\nbits 8\nstream %zu bytes\n", h.width, h.height,
                bytes.size() > SldHeader::fileHeaderSize ? bytes.size() - SldHeader::fileHeaderSize : 0);
}

int info(const char* name)
{
    std::vector<uint8_t> bytes;
    if (!readFile(name, bytes)) {
        std::fprintf(stderr, "ktimage: cannot read %s\n", name);
        return 1;
    }
    switch (formatOf(bytes)) {
    case Format::bmp: printBmp(bytes); return 0;
    case Format::mcg: printMcg(bytes); return 0;
    case Format::sld: printSld(bytes); return 0;
    default:
        std::fprintf(stderr, "ktimage: %s is not a BMP, MCG or SLD file\n", name);
        return 1;
    }
}

int convert(const std::string& to, const char* input, const char* output)
{
    std::vector<uint8_t> bytes;
    if (!readFile(input, bytes)) {
        std::fprintf(stderr, "ktimage: cannot read %s\n", input);
        return 1;
    }
    uint32_t flags[256];
    PackedDib dib = decode(bytes, flags);
    if (dib.empty()) {
        std::fprintf(stderr, "ktimage: %s is not a readable BMP, MCG or SLD file\n", input);
        return 1;
    }
    std::vector<uint8_t> result = to == "bmp" ? BmpWriter::write(dib)
                                  : to == "mcg" ? McgWriter::write(dib, flags)
                                                : SldWriter::write(dib);
    if (result.empty()) {
        std::fprintf(stderr, "ktimage: SLD holds 8-bit pictures only (%s has %u bits)\n", input,
                     dib.bitCount());
        return 1;
    }
    if (!writeFile(output, result)) {
        std::fprintf(stderr, "ktimage: cannot write %s\n", output);
        return 1;
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv)
{
    std::string command = argc > 1 ? argv[1] : "";
    if (command == "info" && argc == 3)
        return info(argv[2]);
    if ((command == "bmp" || command == "mcg" || command == "sld") && argc == 4)
        return convert(command, argv[2], argv[3]);
    std::fputs(usage, stderr);
    return 2;
}
