#pragma once
// Helpers of the list benchmarks: a private program directory (a temporary folder with the
// shipped resources of the build's program directory linked in, and the application object
// started in it), and the check that a list box did linear work.

#include "zapplication.h"
#include "zlistbox.h"

#include <benchmark/benchmark.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <memory>

class BenchProgramDir
{
public:
    // `resources`: the build's program directory, whose resource/ folder is linked in.
    explicit BenchProgramDir(const QString &resources)
        : m_path(m_tmp.path() + QLatin1Char('/'))
        , m_argv0((m_path + QStringLiteral("quillora")).toLocal8Bit())
    {
        QFile::link(resources + QStringLiteral("/resource"), m_path + QStringLiteral("resource"));
        m_argv[0] = m_argv0.data();
        ZApplication::chooseHeadlessPlatform();
        m_app = std::make_unique<ZApplication>(m_argc, m_argv);
    }

    // With a trailing "/".
    QString path() const { return m_path; }

private:
    QTemporaryDir m_tmp;
    QString m_path;
    QByteArray m_argv0;
    int m_argc = 1;
    char *m_argv[2] = {nullptr, nullptr};
    std::unique_ptr<ZApplication> m_app;
};

// The list box holds `rows` rows, laid out in one pass (two when the window's first size came
// after the fill) with each row measured once; otherwise the benchmark is marked failed.
inline bool listIsLinear(benchmark::State &state, const ZListBox *box, int rows)
{
    if (box->count() != rows) {
        state.SkipWithError("rows missing");
        return false;
    }
    if (box->layoutPasses() > 2 || box->rowsMeasured() > rows) {
        state.SkipWithError("rows laid out or measured more than once");
        return false;
    }
    return true;
}
