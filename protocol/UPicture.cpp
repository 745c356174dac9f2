// JPEG decoding with libjpeg-turbo's TurboJPEG interface.

#include "UPicture.h"

#include <turbojpeg.h>

#include <limits>
#include <memory>
#include <string>

#include "UErrors.h"

namespace {

struct TjCloser {
  void operator()(void* handle) const { tjDestroy(handle); }
};
using TjHandle = std::unique_ptr<void, TjCloser>;

}  // namespace

TJpegPicture DecodeJpeg(const uint8_t* data, size_t size) {
  if (data == nullptr || size == 0) throw EJpegError("JPEG error #42: empty input");
  if (size > std::numeric_limits<unsigned long>::max()) throw EJpegError("JPEG data too large");
  TjHandle handle(tjInitDecompress());
  if (!handle) throw EJpegError(std::string("JPEG reader could not start: ") + tjGetErrorStr2(nullptr));
  int width = 0, height = 0, subsamp = 0, colorspace = 0;
  if (tjDecompressHeader3(handle.get(), data, static_cast<unsigned long>(size), &width, &height, &subsamp,
                          &colorspace) != 0) {
    throw EJpegError(tjGetErrorStr2(handle.get()));
  }
  if (width <= 0 || height <= 0) throw EJpegError("JPEG picture has no pixels");
  TJpegPicture picture;
  picture.Rgb.resize(static_cast<size_t>(width) * static_cast<size_t>(height) * 3);
  if (tjDecompress2(handle.get(), data, static_cast<unsigned long>(size), picture.Rgb.data(), width, 0, height,
                    TJPF_RGB, 0) != 0) {
    // A warning (for example data cut short) still leaves a whole picture,
    // grey where data were missing, as a picture control would show it.
    if (tjGetErrorCode(handle.get()) != TJERR_WARNING) throw EJpegError(tjGetErrorStr2(handle.get()));
  }
  picture.Width = width;
  picture.Height = height;
  picture.Bytes.assign(data, data + size);
  return picture;
}
