// PNG through libpng's simplified interface, which keeps its error handling
// (setjmp and longjmp) inside the library.
#include <png.h>

#include <cstring>

#include "render/png_codec.h"

namespace tintwalk::png_codec {

bool Encode(std::FILE* file, const uint8_t* rgbRows, uint32_t width, uint32_t height, bool bottomUp,
            std::string& error) {
    png_image image;
    std::memset(&image, 0, sizeof(image));
    image.version = PNG_IMAGE_VERSION;
    image.width = width;
    image.height = height;
    image.format = PNG_FORMAT_RGB;
    // Faster compression: a full-screen picture of fine detail takes about a
    // second at the default level, several times the difference in size.
    image.flags = PNG_IMAGE_FLAG_FAST;
    // A negative stride tells libpng that the first row in memory is the
    // bottom of the image.
    const png_int_32 rowBytes = static_cast<png_int_32>(width * 3u);
    const png_int_32 stride = bottomUp ? -rowBytes : rowBytes;
    if (png_image_write_to_stdio(&image, file, 0, rgbRows, stride, nullptr) != 0)
        return true;
    error = image.message[0] != '\0' ? image.message : "PNG encoding failed";
    png_image_free(&image);
    return false;
}

bool Decode(const std::string& path, std::vector<uint8_t>& rgbTopDownRows, uint32_t& width,
            uint32_t& height, std::string& error) {
    png_image image;
    std::memset(&image, 0, sizeof(image));
    image.version = PNG_IMAGE_VERSION;
    if (png_image_begin_read_from_file(&image, path.c_str()) == 0) {
        error = image.message[0] != '\0' ? image.message : "not a PNG file";
        png_image_free(&image);
        return false;
    }
    image.format = PNG_FORMAT_RGB;
    rgbTopDownRows.resize(PNG_IMAGE_SIZE(image));
    if (png_image_finish_read(&image, nullptr, rgbTopDownRows.data(), 0, nullptr) == 0) {
        error = image.message[0] != '\0' ? image.message : "PNG decoding failed";
        png_image_free(&image);
        return false;
    }
    width = image.width;
    height = image.height;
    return true;
}

}  // namespace tintwalk::png_codec
