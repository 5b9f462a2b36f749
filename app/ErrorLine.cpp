#include "ErrorLine.h"

#include "framework/ErrorBox.h"

#include <QCoreApplication>

#include <cstdio>

void printErrorLine(const QString& text) {
    const QString line = QStringLiteral("%1: %2\n").arg(QCoreApplication::applicationName(), text);
    std::fputs(line.toLocal8Bit().constData(), stderr);
}

int failWith(const QString& failure, const QString& reason) {
    printErrorLine(reason.isEmpty() ? failure
                                    : QStringLiteral("%1 %2").arg(failure, asSentence(reason)));
    return 1;
}
