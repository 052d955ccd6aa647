#include "CamUrl.h"

#include <gtest/gtest.h>
#include <ostream>

namespace {
struct UrlCase {
    const char* address;
    bool splits;
    const char* host = "";
    const char* hostHeader = "";
    const char* path = "";
    quint16 port = 0;
    bool tls = false;
};

void PrintTo(const UrlCase& c, std::ostream* out)
{
    *out << '"' << c.address << '"';
}

UrlCase Splits(const char* address, const char* host, const char* hostHeader, const char* path, quint16 port,
               bool tls = false)
{
    return {address, true, host, hostHeader, path, port, tls};
}

UrlCase Refused(const char* address)
{
    return {address, false};
}

class SplitCamUrlTable : public testing::TestWithParam<UrlCase> { };
}  // namespace

TEST_P(SplitCamUrlTable, GivesHostPathAndPortOrRefuses)
{
    const UrlCase& c = GetParam();
    const auto parts = SplitCamUrl(QString::fromUtf8(c.address));
    ASSERT_EQ(parts.has_value(), c.splits);
    if (!c.splits)
        return;
    EXPECT_EQ(parts->host.toStdString(), c.host);
    EXPECT_EQ(parts->hostHeader.toStdString(), c.hostHeader);
    EXPECT_EQ(parts->path.toStdString(), c.path);
    EXPECT_EQ(parts->port, c.port);
    EXPECT_EQ(parts->tls, c.tls);
}

INSTANTIATE_TEST_SUITE_P(
    Addresses, SplitCamUrlTable,
    testing::Values(
        // Scheme and host are lowered, the path keeps its letter case.
        Splits("http://CamHost/Pics/Now.JPG", "camhost", "camhost", "/Pics/Now.JPG", 80),
        Splits("HTTP://CamHost/cam.jpg", "camhost", "camhost", "/cam.jpg", 80),
        Splits("camhost/cam.jpg", "camhost", "camhost", "/cam.jpg", 80),
        Splits("http://camhost/Cam Pics/now.jpg", "camhost", "camhost", "/Cam Pics/now.jpg", 80),
        Splits("http://camhost/a:b/c.jpg?size=Large", "camhost", "camhost", "/a:b/c.jpg?size=Large", 80),
        Splits("http://camhost/", "camhost", "camhost", "/", 80), Splits("abcdefg/x", "abcdefg", "abcdefg", "/x", 80),
        // TLS addresses go to 443 unless a port is named.
        Splits("https://camhost/cam.jpg", "camhost", "camhost", "/cam.jpg", 443, true),
        Splits("HttpS://CamHost/Cam.jpg", "camhost", "camhost", "/Cam.jpg", 443, true),
        Splits("https://camhost:443/cam.jpg", "camhost", "camhost", "/cam.jpg", 443, true),
        Splits("https://camhost:8443/cam.jpg", "camhost", "camhost:8443", "/cam.jpg", 8443, true),
        Splits("https://camhost:80/cam.jpg", "camhost", "camhost:80", "/cam.jpg", 80, true),
        // Explicit ports: the Host line names them unless they are the scheme's own.
        Splits("http://CamHost:8080/cam.jpg", "camhost", "camhost:8080", "/cam.jpg", 8080),
        Splits("http://camhost:80/cam.jpg", "camhost", "camhost", "/cam.jpg", 80),
        Splits("http://camhost:443/cam.jpg", "camhost", "camhost:443", "/cam.jpg", 443),
        Splits("http://camhost:1/cam.jpg", "camhost", "camhost:1", "/cam.jpg", 1),
        Splits("http://camhost:65535/cam.jpg", "camhost", "camhost:65535", "/cam.jpg", 65535),
        Splits("http://camhost:08080/cam.jpg", "camhost", "camhost:8080", "/cam.jpg", 8080),
        Splits("camhost:8080/cam.jpg", "camhost", "camhost:8080", "/cam.jpg", 8080),
        Splits("http://[::1]:8080/cam.jpg", "::1", "[::1]:8080", "/cam.jpg", 8080),
        Splits("http://[FE80::1]/cam.jpg", "fe80::1", "[fe80::1]", "/cam.jpg", 80),
        // Too short, no path, or a port that is not 1 to 65535 in digits.
        Refused(""), Refused("http://a"), Refused("abcdefgh"), Refused("abcdefg/"), Refused("http://camhost"),
        Refused("https://camhost"), Refused("http://camhost:8080"), Refused("http:///cam.jpg"),
        Refused("http://camhost:0/cam.jpg"), Refused("http://camhost:70000/cam.jpg"),
        Refused("http://camhost:65536/cam.jpg"), Refused("http://camhost:abc/cam.jpg"),
        Refused("http://camhost:/cam.jpg"), Refused("http://camhost:+80/cam.jpg"), Refused("http://camhost:-1/cam.jpg"),
        Refused("http://camhost:80:90/cam.jpg"), Refused("http://camhost:123456/cam.jpg"),
        Refused("http://[::1/cam.jpg"), Refused("http://[::1]x/cam.jpg"), Refused("ftp://camhost/cam.jpg"),
        // A line break would let the address write header lines of its own.
        Refused("http://camhost/cam.jpg\r\nCookie: x"), Refused("http://camhost/cam.jpg\nX: y")));

TEST(BuildCamRequest, SendsTheExactBytesWithBlanksEncodedAndThePathsCaseKept)
{
    const auto parts = SplitCamUrl(QStringLiteral("http://CamHost/Cam Pics/now.jpg"));
    ASSERT_TRUE(parts);
    EXPECT_EQ(BuildCamRequest(parts->path, parts->hostHeader),
              QByteArray("GET /Cam%20Pics/now.jpg HTTP/1.1\r\nHost: camhost\r\nConnection: close\r\n"
                         "Accept: */*\r\n\r\n"));
}

TEST(BuildCamRequest, TlsAndExplicitPortsChangeOnlyTheHostLine)
{
    const auto https = SplitCamUrl(QStringLiteral("https://camhost/cam.jpg"));
    const auto plain = SplitCamUrl(QStringLiteral("http://camhost/cam.jpg"));
    const auto port = SplitCamUrl(QStringLiteral("http://camhost:8080/cam.jpg"));
    ASSERT_TRUE(https && plain && port);
    EXPECT_EQ(BuildCamRequest(https->path, https->hostHeader), BuildCamRequest(plain->path, plain->hostHeader));
    EXPECT_EQ(BuildCamRequest(port->path, port->hostHeader),
              QByteArray("GET /cam.jpg HTTP/1.1\r\nHost: camhost:8080\r\nConnection: close\r\nAccept: */*\r\n\r\n"));
}

TEST(BuildCamRequest, ValidatorsGoBackOnlyWhenFitForARequestLine)
{
    EXPECT_EQ(ValidatorValue(" \"5f-1a\"\t"), QByteArray("\"5f-1a\""));
    EXPECT_EQ(ValidatorValue("W/\"x\""), QByteArray("W/\"x\""));
    EXPECT_TRUE(ValidatorValue("\"a\nX-Injected: 1\"").isEmpty());
    EXPECT_TRUE(ValidatorValue(QByteArray("\"a\0b\"", 5)).isEmpty());
    EXPECT_TRUE(ValidatorValue("\"a\x7f\"").isEmpty());
    EXPECT_TRUE(ValidatorValue(QByteArray(1025, 'e')).isEmpty());
    EXPECT_EQ(ValidatorValue(QByteArray(1024, 'e')).size(), 1024);
    EXPECT_EQ(BuildCamRequest(QStringLiteral("/c.jpg"), QStringLiteral("h"), {}, {"\"e\"", {}}),
              QByteArray("GET /c.jpg HTTP/1.1\r\nHost: h\r\nConnection: close\r\nAccept: */*\r\n"
                         "If-None-Match: \"e\"\r\n\r\n"));
}

TEST(BuildCamRequest, EncodesEveryBlankAndNothingElse)
{
    EXPECT_EQ(BuildCamRequest(QStringLiteral("/a b  c%41+d?e=f g#h"), QStringLiteral("h")),
              QByteArray("GET /a%20b%20%20c%41+d?e=f%20g#h HTTP/1.1\r\nHost: h\r\nConnection: close\r\n"
                         "Accept: */*\r\n\r\n"));
}
