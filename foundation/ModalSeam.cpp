#include "foundation/ModalSeam.h"

#include "foundation/PasswordMask.h"

#include <cstdio>

namespace {
THeadlessModalSeam g_headless;
IModalSeam* g_seam = &g_headless;
} // namespace

void THeadlessModalSeam::showMessage(const QString& text, const QString& caption)
{
    const QByteArray line =
        maskPasswords(caption.isEmpty() ? text : caption + QStringLiteral(": ") + text).toUtf8();
    std::fprintf(stderr, "%s\n", line.constData());
}

bool THeadlessModalSeam::askYesNo(const QString& question, const QString& caption)
{
    showMessage(question + QStringLiteral(" -> No"), caption);
    return false;
}

IModalSeam& modalSeam() { return *g_seam; }

IModalSeam* setModalSeam(IModalSeam* seam)
{
    IModalSeam* old = g_seam == &g_headless ? nullptr : g_seam;
    g_seam = seam ? seam : &g_headless;
    return old;
}
