// PNG through the Windows Imaging Component, the system's own codecs.
// windows.h comes first: the codec header builds on its types.
#include <windows.h>

#include <wincodec.h>

#include <cstdio>
#include <string>

#include "render/png_codec.h"
#include "render/windows_text.h"

namespace tintwalk::png_codec {

namespace {

// Holds one COM interface and releases it when it goes out of scope.
template <typename T>
class Com {
  public:
    Com() = default;
    ~Com() {
        if (pointer_ != nullptr)
            pointer_->Release();
    }
    Com(const Com&) = delete;
    Com& operator=(const Com&) = delete;
    T* operator->() const { return pointer_; }
    T* get() const { return pointer_; }
    T** out() { return &pointer_; }

  private:
    T* pointer_ = nullptr;
};

// COM stays usable for the whole call, whatever the thread had before.
class ComScope {
  public:
    ComScope() : result_(CoInitializeEx(nullptr, COINIT_MULTITHREADED)) {}
    ~ComScope() {
        if (SUCCEEDED(result_))
            CoUninitialize();
    }
    ComScope(const ComScope&) = delete;
    ComScope& operator=(const ComScope&) = delete;

  private:
    HRESULT result_;
};

std::string Describe(const char* what, HRESULT result) {
    char code[32];
    std::snprintf(code, sizeof(code), "0x%08lx", static_cast<unsigned long>(result));
    std::string message = std::string(what) + " failed (" + code + ")";
    const std::string text = SystemMessage(static_cast<DWORD>(result));
    if (!text.empty())
        message += ": " + text;
    return message;
}

bool CreateFactory(Com<IWICImagingFactory>& factory, std::string& error) {
    const HRESULT result =
        CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                         IID_IWICImagingFactory, reinterpret_cast<void**>(factory.out()));
    if (FAILED(result)) {
        error = Describe("creating the imaging factory", result);
        return false;
    }
    return true;
}

// Rows are handed over in bands, converted from RGB to the codec's BGR order.
constexpr uint32_t kBandRows = 64;

}  // namespace

bool Encode(std::FILE* file, const uint8_t* rgbRows, uint32_t width, uint32_t height, bool bottomUp,
            std::string& error) {
    ComScope com;
    Com<IWICImagingFactory> factory;
    if (!CreateFactory(factory, error))
        return false;
    HRESULT result;
    // The codec writes to a stream in memory; the bytes then go to the file,
    // so that the file's kind (disk file, pipe, console) is the caller's.
    Com<IStream> stream;
    if (FAILED(result = CreateStreamOnHGlobal(nullptr, TRUE, stream.out()))) {
        error = Describe("creating a stream", result);
        return false;
    }
    Com<IWICBitmapEncoder> encoder;
    if (FAILED(result = factory->CreateEncoder(GUID_ContainerFormatPng, nullptr, encoder.out())) ||
        FAILED(result = encoder->Initialize(stream.get(), WICBitmapEncoderNoCache))) {
        error = Describe("creating the PNG encoder", result);
        return false;
    }
    Com<IWICBitmapFrameEncode> frame;
    Com<IPropertyBag2> options;
    if (FAILED(result = encoder->CreateNewFrame(frame.out(), options.out())) ||
        FAILED(result = frame->Initialize(options.get())) ||
        FAILED(result = frame->SetSize(width, height))) {
        error = Describe("creating the PNG frame", result);
        return false;
    }
    WICPixelFormatGUID format = GUID_WICPixelFormat24bppBGR;
    if (FAILED(result = frame->SetPixelFormat(&format))) {
        error = Describe("choosing the pixel format", result);
        return false;
    }
    if (!IsEqualGUID(format, GUID_WICPixelFormat24bppBGR)) {
        error = "the PNG encoder does not take 24-bit BGR pixels";
        return false;
    }
    const UINT stride = width * 3u;
    std::vector<uint8_t> band(static_cast<size_t>(stride) * kBandRows);
    for (uint32_t top = 0; top < height; top += kBandRows) {
        const uint32_t rows = height - top < kBandRows ? height - top : kBandRows;
        for (uint32_t row = 0; row < rows; ++row) {
            // The image row top + row, wherever it lies in memory.
            const uint32_t memoryRow = bottomUp ? height - 1 - (top + row) : top + row;
            const uint8_t* source = rgbRows + static_cast<size_t>(memoryRow) * stride;
            uint8_t* target = band.data() + static_cast<size_t>(row) * stride;
            for (uint32_t i = 0; i < stride; i += 3) {
                target[i] = source[i + 2];
                target[i + 1] = source[i + 1];
                target[i + 2] = source[i];
            }
        }
        const size_t bytes = static_cast<size_t>(rows) * stride;
        if (FAILED(result =
                       frame->WritePixels(rows, stride, static_cast<UINT>(bytes), band.data()))) {
            error = Describe("encoding the pixels", result);
            return false;
        }
    }
    if (FAILED(result = frame->Commit()) || FAILED(result = encoder->Commit())) {
        error = Describe("finishing the file", result);
        return false;
    }
    const LARGE_INTEGER start = {};
    if (FAILED(result = stream->Seek(start, STREAM_SEEK_SET, nullptr))) {
        error = Describe("reading the encoded picture", result);
        return false;
    }
    std::vector<uint8_t> chunk(1 << 16);
    for (;;) {
        ULONG read = 0;
        if (FAILED(result = stream->Read(chunk.data(), static_cast<ULONG>(chunk.size()), &read))) {
            error = Describe("reading the encoded picture", result);
            return false;
        }
        if (read == 0)
            return true;
        if (std::fwrite(chunk.data(), 1, read, file) != read) {
            error = "write failed";
            return false;
        }
    }
}

bool Decode(const std::string& path, std::vector<uint8_t>& rgbTopDownRows, uint32_t& width,
            uint32_t& height, std::string& error) {
    ComScope com;
    Com<IWICImagingFactory> factory;
    if (!CreateFactory(factory, error))
        return false;
    HRESULT result;
    Com<IWICBitmapDecoder> decoder;
    const std::wstring name = FileCallName(path);
    if (FAILED(result = factory->CreateDecoderFromFilename(name.c_str(), nullptr, GENERIC_READ,
                                                           WICDecodeMetadataCacheOnDemand,
                                                           decoder.out()))) {
        error = Describe("opening the image", result);
        return false;
    }
    GUID container;
    if (FAILED(result = decoder->GetContainerFormat(&container)) ||
        !IsEqualGUID(container, GUID_ContainerFormatPng)) {
        error = "not a PNG file";
        return false;
    }
    Com<IWICBitmapFrameDecode> frame;
    Com<IWICBitmapSource> converted;
    UINT frameWidth = 0;
    UINT frameHeight = 0;
    if (FAILED(result = decoder->GetFrame(0, frame.out())) ||
        FAILED(result = frame->GetSize(&frameWidth, &frameHeight)) ||
        FAILED(result = WICConvertBitmapSource(GUID_WICPixelFormat24bppBGR, frame.get(),
                                               converted.out()))) {
        error = Describe("decoding the image", result);
        return false;
    }
    const UINT stride = frameWidth * 3u;
    rgbTopDownRows.resize(static_cast<size_t>(stride) * frameHeight);
    for (uint32_t top = 0; top < frameHeight; top += kBandRows) {
        const uint32_t rows = frameHeight - top < kBandRows ? frameHeight - top : kBandRows;
        const WICRect rect = {0, static_cast<INT>(top), static_cast<INT>(frameWidth),
                              static_cast<INT>(rows)};
        uint8_t* target = rgbTopDownRows.data() + static_cast<size_t>(top) * stride;
        if (FAILED(result = converted->CopyPixels(&rect, stride, stride * rows, target))) {
            error = Describe("decoding the pixels", result);
            return false;
        }
    }
    for (size_t i = 0; i < rgbTopDownRows.size(); i += 3) {
        const uint8_t blue = rgbTopDownRows[i];
        rgbTopDownRows[i] = rgbTopDownRows[i + 2];
        rgbTopDownRows[i + 2] = blue;
    }
    width = frameWidth;
    height = frameHeight;
    return true;
}

}  // namespace tintwalk::png_codec
