// Reading a 64 MiB file as 4-byte values: through BufferedFileStream (the byte stream under the .nif
// stream) and through SKStream (the engine core's typed stream), beside a plain read of the whole file
// into memory followed by a loop over the same values. Prints each stream's time over the plain read's.
#include "core/SKStream.h"
#include "scene/object/BufferedFileStream.h"

#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <memory>
#include <string>
#include <unistd.h>
#include <vector>

namespace
{
constexpr size_t FILE_BYTES = size_t(64) << 20;
constexpr size_t VALUE_COUNT = FILE_BYTES / 4;

// The test file, written once per run and removed at exit. Every read below sums the values so that
// each must see every byte.
class ValueFile
{
public:
    ValueFile()
    {
        char acPath[] = "/tmp/fitwright-streams-XXXXXX";
        int iFile = mkstemp(acPath);
        if (iFile < 0)
            return;
        close(iFile);
        m_kPath = acPath;
        std::vector<uint32_t> kValues(VALUE_COUNT);
        uint32_t uiState = 12345;
        for (uint32_t& uiValue : kValues)
        {
            uiState = uiState * 214013u + 2531011u;
            uiValue = uiState;
            m_uiSum += uiValue;
        }
        std::FILE* pkFile = std::fopen(acPath, "wb");
        if (!pkFile || std::fwrite(kValues.data(), 4, VALUE_COUNT, pkFile) != VALUE_COUNT)
            m_kPath.clear();
        if (pkFile)
            std::fclose(pkFile);
    }
    ~ValueFile()
    {
        if (!m_kPath.empty())
            std::remove(m_kPath.c_str());
    }

    const char* Path() const { return m_kPath.c_str(); }
    bool IsReady() const { return !m_kPath.empty(); }
    uint32_t Sum() const { return m_uiSum; }

private:
    std::string m_kPath;
    uint32_t m_uiSum = 0;
};

const ValueFile& TheFile()
{
    static ValueFile s_kFile;
    return s_kFile;
}

// Runs one read of the whole file per iteration and checks it saw every value.
template <class ReadAll> void ReadFile(benchmark::State& kState, ReadAll kReadAll)
{
    const ValueFile& kFile = TheFile();
    if (!kFile.IsReady())
    {
        kState.SkipWithError("no test file");
        return;
    }
    for (auto _ : kState)
    {
        uint32_t uiSum = kReadAll(kFile.Path());
        if (uiSum != kFile.Sum())
        {
            kState.SkipWithError("the read lost values");
            return;
        }
        benchmark::DoNotOptimize(uiSum);
    }
    kState.SetBytesProcessed(int64_t(kState.iterations()) * int64_t(FILE_BYTES));
}

void BM_PlainRead(benchmark::State& kState)
{
    ReadFile(kState,
             [](const char* pcPath)
             {
                 std::FILE* pkFile = std::fopen(pcPath, "rb");
                 std::unique_ptr<uint32_t[]> puiValues(new uint32_t[VALUE_COUNT]);
                 size_t uiRead = pkFile ? std::fread(puiValues.get(), 4, VALUE_COUNT, pkFile) : 0;
                 if (pkFile)
                     std::fclose(pkFile);
                 uint32_t uiSum = 0;
                 for (size_t i = 0; i < uiRead; i++)
                     uiSum += puiValues[i];
                 return uiSum;
             });
}

void BM_BufferedFileStream(benchmark::State& kState)
{
    ReadFile(kState,
             [](const char* pcPath)
             {
                 BufferedFileStream kStream(pcPath, false);
                 uint32_t uiSum = 0;
                 uint32_t uiValue;
                 while (kStream.Read(&uiValue, 4) == 4)
                     uiSum += uiValue;
                 return uiSum;
             });
}

void BM_SKStream(benchmark::State& kState)
{
    ReadFile(kState,
             [](const char* pcPath)
             {
                 SKStream kStream;
                 kStream.Open(pcPath, "rb");
                 uint32_t uiSum = 0;
                 if (kStream.GetStatus() != SKStreamException::STATUS_OK)
                     return uiSum;
                 int32_t iCount = kStream.GetLength() / 4;
                 for (int32_t i = 0; i < iCount; i++)
                     uiSum += static_cast<uint32_t>(kStream.ReadInt());
                 return uiSum;
             });
}

BENCHMARK(BM_PlainRead)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);
BENCHMARK(BM_BufferedFileStream)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);
BENCHMARK(BM_SKStream)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

// Keeps the median time of each benchmark for the closing ratios.
class RatioReporter : public benchmark::ConsoleReporter
{
public:
    void ReportRuns(const std::vector<Run>& kRuns) override
    {
        for (const Run& kRun : kRuns)
        {
            if (kRun.aggregate_name == "median")
                m_kMedians[kRun.run_name.function_name] = kRun.GetAdjustedRealTime();
        }
        ConsoleReporter::ReportRuns(kRuns);
    }

    std::map<std::string, double> m_kMedians;
};
} // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    RatioReporter kReporter;
    benchmark::RunSpecifiedBenchmarks(&kReporter);
    auto kPlain = kReporter.m_kMedians.find("BM_PlainRead");
    if (kPlain != kReporter.m_kMedians.end() && kPlain->second > 0)
    {
        for (const char* pcName : {"BM_BufferedFileStream", "BM_SKStream"})
        {
            auto kFound = kReporter.m_kMedians.find(pcName);
            if (kFound == kReporter.m_kMedians.end())
                continue;
            double dRatio = kFound->second / kPlain->second;
            std::printf("%s time / plain read time (median): %.2f%s\n", pcName + 3, dRatio,
                        std::strcmp(pcName, "BM_BufferedFileStream") == 0
                            ? (dRatio <= 2.0 ? " (within the 2x target)" : " (outside the 2x target)")
                            : "");
        }
    }
    benchmark::Shutdown();
    return 0;
}
