// MJPEG streams come from any server: finding the first part must never crash, and a part
// found in a prefix of the stream is the part found in the whole of it.
#include <fuzzer/FuzzedDataProvider.h>

#include "FuzzSupport.h"
#include "StreamPart.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzedDataProvider input(data, size);
    const QByteArray boundary = QByteArray::fromStdString(input.ConsumeRandomLengthString(40));
    const size_t cut = input.ConsumeIntegral<size_t>();
    const std::string rest = input.ConsumeRemainingBytesAsString();
    const QByteArray body = QByteArray::fromStdString(rest);
    const StreamPart whole = FirstStreamPart(body, boundary);
    const StreamPart prefix = FirstStreamPart(body.first(static_cast<qsizetype>(cut % (body.size() + 1))), boundary);
    if (prefix.status == StreamPart::Status::Complete) {
        FUZZ_CHECK(whole.status == StreamPart::Status::Complete, QString());
        FUZZ_CHECK(whole.body == prefix.body && whole.header == prefix.header, QString());
    }
    if (whole.status == StreamPart::Status::Complete) {
        FUZZ_CHECK(whole.body.size() <= body.size(), QString());
        FUZZ_CHECK(body.contains(whole.body), QString());
    }
    const StreamPart ended = FirstStreamPart(body, boundary, true);
    if (whole.status == StreamPart::Status::Complete)
        FUZZ_CHECK(ended.body == whole.body, QString());
    return 0;
}
