// The page loader against a real HTTP server on 127.0.0.1: links, domain, picture elements and
// their sizes, redirects, failures, limits and cancelled navigations.
#include "LocalHttpServer.h"
#include "TestRegistry.h"

#include "images/PageLoader.h"

#include <QBuffer>
#include <QElapsedTimer>
#include <QImage>
#include <QSignalSpy>
#include <QTest>

using namespace quillon;
using namespace quillon::test;

namespace {

constexpr int kWaitMs = 15000;

const PageImage* ImageBySrc(const PageDocument& document, const QString& src)
{
  for (const PageImage& image : document.images) {
    if (image.src == src)
      return &image;
  }
  return nullptr;
}

// Navigates to a page of the server and waits; true when its document completed.
bool Load(PageLoader& loader, const LocalHttpServer& server, const QString& path)
{
  loader.Navigate(server.Address(path));
  return loader.WaitForDocument(kWaitMs);
}

// A picture that does not compress: its file is far larger than its header.
QByteArray NoisePng(QSize size)
{
  QImage image(size, QImage::Format_RGB32);
  quint32 state = 12345;
  for (int y = 0; y < size.height(); ++y) {
    for (int x = 0; x < size.width(); ++x) {
      state = state * 1664525u + 1013904223u;
      image.setPixel(x, y, state >> 8);
    }
  }
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  image.save(&buffer, "png");
  return bytes;
}

}  // namespace

class PageLoaderTest : public QObject {
  Q_OBJECT

 private slots:
  void LinksDomainAndPictureSizes()
  {
    LocalHttpServer server;
    QVERIFY(server.IsListening());
    server.ServePicture(QStringLiteral("/pics/box.png"), LocalHttpServer::MakePicture({200, 100}, "png"), "image/png");
    server.ServePicture(QStringLiteral("/pics/shot.jpg"), LocalHttpServer::MakePicture({64, 48}, "jpeg"), "image/jpeg");
    server.ServePicture(QStringLiteral("/pics/anim/"), LocalHttpServer::MakePicture({30, 20}, "gif"), "image/gif");
    server.ServePage(QStringLiteral("/results?q=sonic"), R"(<!DOCTYPE html>
<html><head><title> Results </title><script>var a = "<a href='/no'>x</a>";</script></head><body>
<a href="/game/1">  Sonic   the
   <b>Hedgehog</b> (U) </a>
<p><a href="http://elsewhere.example/abs">Absolute</a><a href="other.html"></a><a name="anchor">No href</a>
<a href="page?x=1"><img src="pics/box.png" width="120" height="80"></a>
<img src="/pics/box.png" style="max-width: 5px; height: 30px; width:60px" width="999">
<img src="/pics/box.png">
<img src="/pics/box.png" width="100" height="50%">
<img src="/pics/shot.jpg" height="24px">
<img src="/pics/anim/">
<img src="/missing.png">
<img src="/missing.png" width="10" height="12">
<img alt="no source">
<img src="data:image/gif;base64,R0lGODlhAQABAAAAACw=" width="1" height="1">
<map><area href="/area" alt="area"></map>
</body></html>)");
    PageLoader loader;
    QSignalSpy started(&loader, &PageLoader::NavigationStarted);
    QSignalSpy complete(&loader, &PageLoader::DocumentComplete);
    QSignalSpy failed(&loader, &PageLoader::NavigationFailed);
    const QString address = server.Address(QStringLiteral("/results?q=sonic"));
    loader.Navigate(address);
    QCOMPARE(started.size(), 1);
    QVERIFY(loader.IsBusy());
    QVERIFY(loader.WaitForDocument(kWaitMs));
    QCOMPARE(complete.size(), 1);
    QCOMPARE(failed.size(), 0);
    QCOMPARE(loader.Address(), address);

    const PageDocument& document = loader.Document();
    QCOMPARE(document.domain, QStringLiteral("127.0.0.1"));
    QCOMPARE(document.title, QStringLiteral("Results"));
    const QString base = server.Address(QString());
    QCOMPARE(document.links.size(), size_t(5));
    QCOMPARE(document.links[0].text, QStringLiteral("Sonic the Hedgehog (U)"));
    QCOMPARE(document.links[0].address, base + QStringLiteral("/game/1"));
    QCOMPARE(document.links[1].address, QStringLiteral("http://elsewhere.example/abs"));
    QCOMPARE(document.links[2].text, QString());
    QCOMPARE(document.links[2].address, base + QStringLiteral("/other.html"));
    QCOMPARE(document.links[3].address, base + QStringLiteral("/page?x=1"));
    QCOMPARE(document.links[4].address, base + QStringLiteral("/area"));

    QCOMPARE(document.images.size(), size_t(10));
    const auto check = [&](int index, const QString& src, int width, int height, const QString& type) {
      const PageImage& image = document.images[size_t(index)];
      QCOMPARE(image.src, src);
      QCOMPARE(image.width, width);
      QCOMPARE(image.height, height);
      QCOMPARE(image.mimeType, type);
    };
    const QString box = base + QStringLiteral("/pics/box.png");
    check(0, box, 120, 80, QStringLiteral("PNG Image"));   // attributes
    check(1, box, 60, 30, QStringLiteral("PNG Image"));    // style before attributes
    check(2, box, 200, 100, QStringLiteral("PNG Image"));  // the picture's own size
    check(3, box, 100, 50, QStringLiteral("PNG Image"));   // one side given: scaled
    check(4, base + QStringLiteral("/pics/shot.jpg"), 32, 24, QStringLiteral("JPEG Image"));
    check(5, base + QStringLiteral("/pics/anim/"), 30, 20, QStringLiteral("GIF Image"));
    check(6, base + QStringLiteral("/missing.png"), 0, 0, QString());
    check(7, base + QStringLiteral("/missing.png"), 10, 12, QString());
    check(8, QString(), 0, 0, QString());
    QVERIFY(document.images[9].src.startsWith(QStringLiteral("data:")));
    // Each picture was fetched once, however often the page shows it.
    QCOMPARE(server.RequestCount(QStringLiteral("/pics/box.png")), 1);
  }

  void BaseAddressAndCharsets()
  {
    LocalHttpServer server;
    server.ServePage(QStringLiteral("/latin"),
                     "<html><head><base href=\"http://base.example/dir/\"></head><body>"
                     "<a href=\"x.html\">Pok\xE9mon</a></body></html>",
                     "text/html; charset=windows-1252");
    server.ServePage(QStringLiteral("/meta"),
                     "<html><head><meta http-equiv=\"Content-Type\" content=\"text/html; charset=iso-8859-1\">"
                     "</head><body><a href=\"/y\">Caf\xE9</a></body></html>",
                     "text/html");
    server.ServePage(QStringLiteral("/utf8"), "<a href=\"/z\">Caf\xC3\xA9 \xE6\x97\xA5</a>", "text/html");
    PageLoader loader;
    QVERIFY(Load(loader, server, QStringLiteral("/latin")));
    QCOMPARE(loader.Document().links.at(0).text, QStringLiteral("Pok\u00E9mon"));
    QCOMPARE(loader.Document().links.at(0).address, QStringLiteral("http://base.example/dir/x.html"));
    QVERIFY(Load(loader, server, QStringLiteral("/meta")));
    QCOMPARE(loader.Document().links.at(0).text, QStringLiteral("Caf\u00E9"));
    QVERIFY(Load(loader, server, QStringLiteral("/utf8")));
    QCOMPARE(loader.Document().links.at(0).text, QStringLiteral("Caf\u00E9 \u65E5"));
  }

  void RedirectsAreFollowedALimitedNumberOfTimes()
  {
    LocalHttpServer server;
    server.ServeRedirect(QStringLiteral("/old"), QStringLiteral("/new"), 301);
    server.ServePage(QStringLiteral("/new"), "<a href=\"rel\">Moved</a>");
    server.ServeRedirect(QStringLiteral("/loop1"), QStringLiteral("/loop2"));
    server.ServeRedirect(QStringLiteral("/loop2"), QStringLiteral("/loop1"));
    server.ServeRedirect(QStringLiteral("/to-file"), QStringLiteral("file:///etc/passwd"));
    PageLoader loader;
    QSignalSpy complete(&loader, &PageLoader::DocumentComplete);
    QSignalSpy failed(&loader, &PageLoader::NavigationFailed);
    QVERIFY(Load(loader, server, QStringLiteral("/old")));
    QCOMPARE(complete.last().at(0).toString(), server.Address(QStringLiteral("/new")));
    QCOMPARE(loader.Document().address, server.Address(QStringLiteral("/new")));
    QCOMPARE(loader.Document().links.at(0).address, server.Address(QStringLiteral("/rel")));

    WebLimits limits;
    limits.maxRedirects = 3;
    loader.SetLimits(limits);
    QVERIFY(!Load(loader, server, QStringLiteral("/loop1")));
    QCOMPARE(failed.size(), 1);
    QVERIFY2(loader.LastError().contains(QStringLiteral("redirect"), Qt::CaseInsensitive),
             qPrintable(loader.LastError()));
    const int loopRequests =
        server.RequestCount(QStringLiteral("/loop1")) + server.RequestCount(QStringLiteral("/loop2"));
    // The network layer may repeat a request whose connection the server closed; the loop still ends.
    QVERIFY2(loopRequests > limits.maxRedirects && loopRequests <= 2 * (limits.maxRedirects + 1),
             qPrintable(QString::number(loopRequests)));

    QVERIFY(!Load(loader, server, QStringLiteral("/to-file")));
    QCOMPARE(failed.size(), 2);
    QCOMPARE(complete.size(), 1);
  }

  void FailuresAreReportedOncePerNavigation()
  {
    LocalHttpServer server;
    server.ServeStatus(QStringLiteral("/broken"), 500);
    PageLoader loader;
    QSignalSpy complete(&loader, &PageLoader::DocumentComplete);
    QSignalSpy failed(&loader, &PageLoader::NavigationFailed);
    QVERIFY(!Load(loader, server, QStringLiteral("/broken")));
    QCOMPARE(failed.size(), 1);
    QCOMPARE(failed.first().at(0).toString(), server.Address(QStringLiteral("/broken")));
    QVERIFY(failed.first().at(1).toString().contains(QStringLiteral("500")));
    QVERIFY(loader.Document().links.empty());
    QVERIFY(!loader.IsBusy());

    // Only http and https: nothing is fetched for other schemes, and the failure still comes.
    const int requests = server.TotalRequests();
    for (const QString& address : {QStringLiteral("ftp://127.0.0.1/x"), QStringLiteral("file:///etc/passwd"),
                                   QStringLiteral("javascript:alert(1)"), QStringLiteral("http:///")}) {
      loader.Navigate(address);
      QVERIFY(loader.IsBusy());
      QVERIFY(!loader.WaitForDocument(kWaitMs));
      QVERIFY2(loader.LastError().contains(QStringLiteral("http")), qPrintable(loader.LastError()));
    }
    QCOMPARE(failed.size(), 5);
    QCOMPARE(server.TotalRequests(), requests);
    QCOMPARE(complete.size(), 0);
  }

  void SlowAndOversizedPagesFail()
  {
    LocalHttpServer server;
    LocalHttpServer::Reply stalled;
    stalled.body = QByteArray(4000, 'x');
    stalled.neverFinish = true;
    server.Serve(QStringLiteral("/stalled"), stalled);
    LocalHttpServer::Reply late;
    late.body = "<a href=\"/x\">late</a>";
    late.delayMs = 5000;
    server.Serve(QStringLiteral("/late"), late);
    server.ServePage(QStringLiteral("/big"), QByteArray(6 * 1024 * 1024, 'a'));
    LocalHttpServer::Reply bigUnannounced;
    bigUnannounced.body = QByteArray(3000, 'b');
    bigUnannounced.omitContentLength = true;
    server.Serve(QStringLiteral("/big-unannounced"), bigUnannounced);

    PageLoader loader;
    WebLimits limits;
    limits.pageTimeoutMs = 600;
    loader.SetLimits(limits);
    for (const QString& path : {QStringLiteral("/stalled"), QStringLiteral("/late")}) {
      QElapsedTimer clock;
      clock.start();
      QVERIFY(!Load(loader, server, path));
      QVERIFY2(clock.elapsed() < 4000, qPrintable(path));
      QVERIFY2(loader.LastError().contains(QStringLiteral("seconds")), qPrintable(loader.LastError()));
    }

    loader.SetLimits(WebLimits());
    QVERIFY(!Load(loader, server, QStringLiteral("/big")));
    QVERIFY2(loader.LastError().contains(QStringLiteral("larger than")), qPrintable(loader.LastError()));
    limits = WebLimits();
    limits.maxPageBytes = 1000;
    loader.SetLimits(limits);
    QVERIFY(!Load(loader, server, QStringLiteral("/big-unannounced")));
    QVERIFY2(loader.LastError().contains(QStringLiteral("larger than")), qPrintable(loader.LastError()));
  }

  void NewNavigationCancelsThePreviousOne()
  {
    LocalHttpServer server;
    LocalHttpServer::Reply slow;
    slow.body = "<a href=\"/slow\">slow</a>";
    slow.delayMs = 1500;
    server.Serve(QStringLiteral("/slow"), slow);
    LocalHttpServer::Reply slowPicture;
    slowPicture.contentType = "image/png";
    slowPicture.body = LocalHttpServer::MakePicture({10, 10}, "png");
    slowPicture.delayMs = 1500;
    server.Serve(QStringLiteral("/slow.png"), slowPicture);
    server.ServePage(QStringLiteral("/with-picture"), "<img src=\"/slow.png\">");
    server.ServePage(QStringLiteral("/fast"), "<a href=\"/f\">fast</a>");
    PageLoader loader;
    QSignalSpy complete(&loader, &PageLoader::DocumentComplete);
    QSignalSpy failed(&loader, &PageLoader::NavigationFailed);
    loader.Navigate(server.Address(QStringLiteral("/slow")));
    QTest::qWait(100);
    QVERIFY(Load(loader, server, QStringLiteral("/fast")));
    // A navigation cancelled while its page's pictures load ends silently too.
    loader.Navigate(server.Address(QStringLiteral("/with-picture")));
    QTRY_COMPARE(server.RequestCount(QStringLiteral("/slow.png")), 1);
    QVERIFY(Load(loader, server, QStringLiteral("/fast")));
    QTest::qWait(2000);
    QCOMPARE(complete.size(), 2);
    QCOMPARE(complete.at(0).at(0).toString(), server.Address(QStringLiteral("/fast")));
    QCOMPARE(failed.size(), 0);
    QCOMPARE(loader.Document().links.at(0).text, QStringLiteral("fast"));
  }

  void NavigatingToAPictureShowsThePicture()
  {
    LocalHttpServer server;
    server.ServePicture(QStringLiteral("/cover"), LocalHttpServer::MakePicture({40, 60}, "jpeg"), "image/jpeg");
    PageLoader loader;
    QVERIFY(Load(loader, server, QStringLiteral("/cover")));
    QCOMPARE(loader.Document().images.size(), size_t(1));
    const PageImage* image = ImageBySrc(loader.Document(), server.Address(QStringLiteral("/cover")));
    QVERIFY(image);
    QCOMPARE(image->width, 40);
    QCOMPARE(image->height, 60);
    QCOMPARE(image->mimeType, QStringLiteral("JPEG Image"));

    // A large picture is measured from its first part.
    server.ServePicture(QStringLiteral("/noise.png"), NoisePng(QSize(400, 300)), "image/png");
    server.ServePage(QStringLiteral("/large"), "<img src=\"/noise.png\">");
    QVERIFY(Load(loader, server, QStringLiteral("/large")));
    QCOMPARE(loader.Document().images.at(0).width, 400);
    QCOMPARE(loader.Document().images.at(0).height, 300);
    QCOMPARE(loader.Document().images.at(0).mimeType, QStringLiteral("PNG Image"));
  }

  void StalledOrOversizedPicturesDoNotHoldThePage()
  {
    LocalHttpServer server;
    LocalHttpServer::Reply stalled;
    stalled.contentType = "image/png";
    stalled.body = QByteArray(2000, 'p');
    stalled.neverFinish = true;
    server.Serve(QStringLiteral("/stalled.png"), stalled);
    server.ServePicture(QStringLiteral("/huge.png"), LocalHttpServer::MakePicture({300, 300}, "png"), "image/png");
    server.ServePage(QStringLiteral("/page"), "<img src=\"/stalled.png\" width=\"7\"><img src=\"/huge.png\">");
    PageLoader loader;
    WebLimits limits;
    limits.pictureTimeoutMs = 500;
    limits.maxPictureBytes = 100;
    loader.SetLimits(limits);
    QElapsedTimer clock;
    clock.start();
    QVERIFY(Load(loader, server, QStringLiteral("/page")));
    QVERIFY(clock.elapsed() < 4000);
    QCOMPARE(loader.Document().images.size(), size_t(2));
    QCOMPARE(loader.Document().images[0].width, 7);
    QCOMPARE(loader.Document().images[0].height, 0);
    QCOMPARE(loader.Document().images[1].width, 0);
    QCOMPARE(loader.Document().images[1].mimeType, QString());
  }
};

QUILLON_TEST_CLASS(PageLoaderTest)
#include "PageLoaderTest.moc"
