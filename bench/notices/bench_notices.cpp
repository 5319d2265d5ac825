// How the notice manager grows with the number of notices in notify.db: opening it (the file
// read, every row laid out, the first screen drawn).
// Linear growth shows as a factor of about 10 from N = 1000 to N = 10000.
#include "benchprogdir.h"
#include "noticelistmng.h"
#include "zlistbox.h"

#include <benchmark/benchmark.h>

#include <QDate>
#include <QFile>

namespace {

BenchProgramDir *g_dir = nullptr;

// N notices on N days from 2000/01/01, between the built-in festivals and the user's festivals.
void writeNotices(int n)
{
    QByteArray text = "[FestivalNotify]\n01/01 = New Year\n08$15 = Mid-Autumn\n[CustomNotify]\n";
    text.reserve(n * 40);
    const QDate first(2000, 1, 1);
    for (int i = 0; i < n; ++i)
        text += first.addDays(i).toString(QStringLiteral("yyyy/MM/dd")).toUtf8() + " = notice number "
                + QByteArray::number(i) + '\n';
    text += "[CustomFestival]\n05/01 = mum\n";
    QFile file(g_dir->path() + QStringLiteral("notify.db"));
    file.open(QIODevice::WriteOnly | QIODevice::Truncate);
    file.write(text);
}

void BM_NoticeManagerOpen(benchmark::State &state)
{
    const int n = int(state.range(0));
    writeNotices(n);
    for (auto _ : state) {
        NotifyMng mng(nullptr);
        mng.show();
        benchmark::DoNotOptimize(mng.grab());
        if (!listIsLinear(state, mng.listBox(), n))
            break;
    }
    state.SetComplexityN(n);
}


} // namespace

BENCHMARK(BM_NoticeManagerOpen)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond)->Complexity();

int main(int argc, char **argv)
{
    BenchProgramDir dir(QStringLiteral(QUILLORA_PROGDIR_SOURCE));
    g_dir = &dir;
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
