#include "TestAnimation.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

bool writeTestAnimation(const QString& path, int frames)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    const QByteArray json = QByteArrayLiteral(R"({"v":"5.7.0","fr":30,"ip":0,"op":)") + QByteArray::number(frames)
        + QByteArrayLiteral(R"(,"w":128,"h":128,"layers":[{"ty":4,"ind":1,"ip":0,"op":)") + QByteArray::number(frames)
        + QByteArrayLiteral(R"(,"st":0,"ks":{"o":{"a":0,"k":100},"r":{"a":0,"k":0},"s":{"a":0,"k":[100,100]},)"
                            R"("a":{"a":0,"k":[0,0]},"p":{"a":1,"k":[{"t":0,"s":[20,64],"e":[108,64]},{"t":)")
        + QByteArray::number(frames)
        + QByteArrayLiteral(R"(,"s":[108,64]}]}},"shapes":[{"ty":"el","p":{"a":0,"k":[0,0]},"s":{"a":0,"k":[30,30]}},)"
                            R"({"ty":"fl","c":{"a":0,"k":[1,0.5,0,1]},"o":{"a":0,"k":100}}]}]})");
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    return file.write(json) == json.size();
}
