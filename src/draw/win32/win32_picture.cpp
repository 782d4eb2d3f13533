#include <wincodec.h>
#include <windows.h>
#include <wrl/client.h>

#include <cstring>

#include "draw/picture_codec.h"
#include "draw/win32/com_apartment.h"

using Microsoft::WRL::ComPtr;

namespace {

constexpr std::uint64_t kAllocationLimitBytes = static_cast<std::uint64_t>(kPictureAllocationLimitMiB) * 1024 * 1024;

ComPtr<IWICImagingFactory> Factory()
{
    ComPtr<IWICImagingFactory> factory;
    CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&factory));
    return factory;
}

// Whether the frame's pixels can be anything but opaque: an alpha channel, or a palette
// with a transparent entry (GIF, PNG with tRNS).
bool HasAlpha(IWICImagingFactory& factory, IWICBitmapFrameDecode& frame)
{
    WICPixelFormatGUID format{};
    if (FAILED(frame.GetPixelFormat(&format))) return false;
    ComPtr<IWICComponentInfo> info;
    ComPtr<IWICPixelFormatInfo2> formatInfo;
    BOOL bTransparent = FALSE;
    if (SUCCEEDED(factory.CreateComponentInfo(format, &info)) && SUCCEEDED(info.As(&formatInfo)) &&
        SUCCEEDED(formatInfo->SupportsTransparency(&bTransparent)) && bTransparent) {
        return true;
    }
    ComPtr<IWICPalette> palette;
    BOOL bPaletteAlpha = FALSE;
    return SUCCEEDED(factory.CreatePalette(&palette)) && SUCCEEDED(frame.CopyPalette(palette.Get())) &&
           SUCCEEDED(palette->HasAlpha(&bPaletteAlpha)) && bPaletteAlpha;
}

// Each direction on its own at most `fitTo`: the picture is stretched to the screen
// without keeping its aspect ratio, so nothing finer could ever show.
UINT Fitted(UINT n, LONG fit) { return fit > 0 && n > static_cast<UINT>(fit) ? static_cast<UINT>(fit) : n; }

}  // namespace

std::optional<Image32> DecodePicture(std::span<const std::uint8_t> bytes, SIZE fitTo)
{
    const ScopedComApartment com;
    if (!com.Usable() || bytes.empty() || bytes.size() > MAXDWORD) return std::nullopt;
    const ComPtr<IWICImagingFactory> factory = Factory();
    ComPtr<IWICStream> stream;
    ComPtr<IWICBitmapDecoder> decoder;
    ComPtr<IWICBitmapFrameDecode> frame;
    if (!factory || FAILED(factory->CreateStream(&stream)) ||
        FAILED(stream->InitializeFromMemory(const_cast<BYTE*>(bytes.data()), static_cast<DWORD>(bytes.size()))) ||
        FAILED(factory->CreateDecoderFromStream(stream.Get(), nullptr, WICDecodeMetadataCacheOnDemand, &decoder)) ||
        FAILED(decoder->GetFrame(0, &frame))) {
        return std::nullopt;
    }
    UINT width = 0;
    UINT height = 0;
    if (FAILED(frame->GetSize(&width, &height)) || width == 0 || height == 0) return std::nullopt;
    if (static_cast<std::uint64_t>(width) * height * 4 > kAllocationLimitBytes) return std::nullopt;

    // Converted before it is scaled, so the scaler averages colours, not palette indices;
    // both pull the picture through a few lines at a time.
    const bool bAlpha = HasAlpha(*factory.Get(), *frame.Get());
    ComPtr<IWICFormatConverter> converter;
    if (FAILED(factory->CreateFormatConverter(&converter)) ||
        FAILED(converter->Initialize(frame.Get(), bAlpha ? GUID_WICPixelFormat32bppPBGRA : GUID_WICPixelFormat32bppBGR,
                                     WICBitmapDitherTypeNone, nullptr, 0.0, WICBitmapPaletteTypeCustom))) {
        return std::nullopt;
    }
    ComPtr<IWICBitmapSource> source = converter;
    const UINT fittedWidth = Fitted(width, fitTo.cx);
    const UINT fittedHeight = Fitted(height, fitTo.cy);
    if (fitTo.cx > 0 && fitTo.cy > 0 && (fittedWidth != width || fittedHeight != height)) {
        // Fant averages the block of source pixels behind each target pixel: a block of
        // one colour keeps exactly that colour.
        ComPtr<IWICBitmapScaler> scaler;
        if (FAILED(factory->CreateBitmapScaler(&scaler)) ||
            FAILED(scaler->Initialize(converter.Get(), fittedWidth, fittedHeight, WICBitmapInterpolationModeFant))) {
            return std::nullopt;
        }
        source = scaler;
    }
    UINT outWidth = 0;
    UINT outHeight = 0;
    if (FAILED(source->GetSize(&outWidth, &outHeight))) return std::nullopt;
    Image32 image(static_cast<int>(outWidth), static_cast<int>(outHeight), bAlpha);
    if (image.IsNull()) return std::nullopt;
    if (FAILED(source->CopyPixels(nullptr, outWidth * 4, static_cast<UINT>(image.SizeInBytes()),
                                  reinterpret_cast<BYTE*>(image.Bits())))) {
        return std::nullopt;
    }
    // The top byte of an opaque picture is set, as the other platform's decoder leaves it.
    if (!bAlpha) {
        std::uint32_t* p = image.Bits();
        for (std::size_t i = 0, n = image.SizeInBytes() / 4; i < n; ++i) p[i] |= 0xFF000000u;
    }
    return image;
}

bool EncodePng(const Image32& image, std::vector<std::uint8_t>& png)
{
    const ScopedComApartment com;
    if (!com.Usable() || image.IsNull()) return false;
    const ComPtr<IWICImagingFactory> factory = Factory();
    ComPtr<IStream> stream;
    ComPtr<IWICBitmapEncoder> encoder;
    ComPtr<IWICBitmapFrameEncode> frame;
    ComPtr<IPropertyBag2> options;
    ComPtr<IWICBitmap> source;
    // PNG keeps straight alpha; the encoder converts from the image's premultiplied pixels.
    // An image without alpha is written as RGB: the top byte carries nothing.
    WICPixelFormatGUID format = image.HasAlpha() ? GUID_WICPixelFormat32bppBGRA : GUID_WICPixelFormat24bppBGR;
    const UINT stride = static_cast<UINT>(image.Width()) * 4;
    if (!factory || FAILED(CreateStreamOnHGlobal(nullptr, TRUE, &stream)) ||
        FAILED(factory->CreateEncoder(GUID_ContainerFormatPng, nullptr, &encoder)) ||
        FAILED(encoder->Initialize(stream.Get(), WICBitmapEncoderNoCache)) ||
        FAILED(encoder->CreateNewFrame(&frame, &options)) || FAILED(frame->Initialize(options.Get())) ||
        FAILED(frame->SetSize(static_cast<UINT>(image.Width()), static_cast<UINT>(image.Height()))) ||
        FAILED(frame->SetPixelFormat(&format)) ||
        FAILED(factory->CreateBitmapFromMemory(
            static_cast<UINT>(image.Width()), static_cast<UINT>(image.Height()),
            image.HasAlpha() ? GUID_WICPixelFormat32bppPBGRA : GUID_WICPixelFormat32bppBGR, stride,
            static_cast<UINT>(image.SizeInBytes()), const_cast<BYTE*>(reinterpret_cast<const BYTE*>(image.Bits())),
            &source)) ||
        FAILED(frame->WriteSource(source.Get(), nullptr)) || FAILED(frame->Commit()) || FAILED(encoder->Commit())) {
        return false;
    }
    STATSTG stat{};
    HGLOBAL hMemory = nullptr;
    if (FAILED(stream->Stat(&stat, STATFLAG_NONAME)) || FAILED(GetHGlobalFromStream(stream.Get(), &hMemory))) {
        return false;
    }
    const void* pBytes = GlobalLock(hMemory);
    if (pBytes == nullptr) return false;
    const auto* first = static_cast<const std::uint8_t*>(pBytes);
    png.assign(first, first + stat.cbSize.QuadPart);
    GlobalUnlock(hMemory);
    return true;
}
