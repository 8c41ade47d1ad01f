#include "engines/graphics/video_reader.h"

#include <algorithm>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libswscale/swscale.h>
}

#include <mutex>

#include "engines/graphics/pixel_format.h"

namespace {

// Frames larger than this are not an animation for an 800 x 600 screen.
constexpr int kLargestSide = 8192;
// Bytes of slack after each converted picture: the converters may write whole vectors.
constexpr size_t kConversionSlack = 64;

// The decoders and the converter report harmless trouble on standard error; the game logs
// nothing about its animation.
void SilentLog(void*, int, const char*, va_list) {}

void SilenceLibav() {
    static std::once_flag once;
    std::call_once(once, [] { av_log_set_callback(SilentLog); });
}

}  // namespace

struct VideoReader::Decoder {
    AVFormatContext* format = nullptr;
    AVCodecContext* codec = nullptr;  // null when the stream's codec cannot be decoded
    SwsContext* converter = nullptr;
    AVPacket* packet = nullptr;
    AVFrame* incoming = nullptr;  // the frame after `frame`, once looked ahead to
    AVFrame* frame = nullptr;     // the last frame decoded
    AVStream* stream = nullptr;
    AVRational frameRate{0, 1};
    int64_t frameNumber = -1;  // of `frame`; -1 before the first
    // The number of `incoming`, -1 while it holds none. The stream may skip numbers (a frame
    // repeated by leaving it out): `frame` stands for every number up to this one.
    int64_t nextNumber = -1;
    bool endSent = false;  // the decoder was told the stream has ended
    VideoPicture picture;
    int64_t pictureNumber = -1;
    std::vector<uint8_t> unpacked;  // a frame at 32 bits before packing to a smaller depth

    ~Decoder() {
        sws_freeContext(converter);
        av_frame_free(&frame);
        av_frame_free(&incoming);
        av_packet_free(&packet);
        avcodec_free_context(&codec);
        avformat_close_input(&format);
    }

    bool OpenDecoder() {
        const AVCodec* found = avcodec_find_decoder(stream->codecpar->codec_id);
        if (!found) return false;
        codec = avcodec_alloc_context3(found);
        if (!codec || avcodec_parameters_to_context(codec, stream->codecpar) < 0) return false;
        codec->thread_count = 1;
        packet = av_packet_alloc();
        incoming = av_frame_alloc();
        frame = av_frame_alloc();
        return packet && incoming && frame && avcodec_open2(codec, found, nullptr) == 0;
    }

    int64_t StartTime() const {
        return stream->start_time == AV_NOPTS_VALUE ? 0 : stream->start_time;
    }

    // A frame's number from its time stamp; frames without one follow the frame before.
    int64_t NumberOf(const AVFrame* decoded) const {
        const int64_t stamp = decoded->best_effort_timestamp;
        if (stamp == AV_NOPTS_VALUE || frameRate.num <= 0 || frameRate.den <= 0)
            return frameNumber + 1;
        return av_rescale_q(stamp - StartTime(), stream->time_base, av_inv_q(frameRate));
    }

    // Decodes the frame after the current one into `incoming`, unless it is there already. False
    // at the end of the stream or on an error.
    bool LookAhead() {
        while (nextNumber < 0) {
            const int received = avcodec_receive_frame(codec, incoming);
            if (received == 0) {
                nextNumber = std::max(NumberOf(incoming), frameNumber + 1);
                break;
            }
            if (received != AVERROR(EAGAIN) || endSent) return false;
            if (av_read_frame(format, packet) < 0) {
                endSent = true;
                if (avcodec_send_packet(codec, nullptr) < 0) return false;
                continue;
            }
            const int sent =
                packet->stream_index == stream->index ? avcodec_send_packet(codec, packet) : 0;
            av_packet_unref(packet);
            if (sent < 0) return false;
        }
        return true;
    }

    // Moves on to the next frame. False at the end of the stream or on an error; the current
    // frame then stays.
    bool Advance() {
        if (!LookAhead()) return false;
        frameNumber = nextNumber;
        nextNumber = -1;
        av_frame_unref(frame);
        av_frame_move_ref(frame, incoming);
        return true;
    }

    // Goes back to the key frame at or before frame `number`.
    bool SeekBackTo(int64_t number) {
        int64_t stamp = StartTime();
        if (frameRate.num > 0 && frameRate.den > 0)
            stamp += av_rescale_q(number, av_inv_q(frameRate), stream->time_base);
        if (av_seek_frame(format, stream->index, stamp, AVSEEK_FLAG_BACKWARD) < 0) return false;
        avcodec_flush_buffers(codec);
        endSent = false;
        frameNumber = nextNumber = -1;
        av_frame_unref(frame);
        av_frame_unref(incoming);
        return true;
    }

    // Makes `frame` the frame that shows at `number`: the last one numbered `number` or before.
    // False past the last frame.
    bool DecodeFrame(int64_t number) {
        if (number < frameNumber && !SeekBackTo(number)) return false;
        if (frameNumber < 0 && !Advance()) return false;
        while (number > frameNumber) {
            if (!LookAhead()) return false;
            if (nextNumber > number) return true;
            Advance();
        }
        return true;
    }

    // Converts `frame` to 32 bits with swscale, then packs it to the display's depth the way
    // the rest of the display does (each channel keeps its top bits, no dithering).
    bool Convert(int bytesPerPixel) {
        const int width = frame->width, height = frame->height;
        if (width <= 0 || height <= 0 || width > kLargestSide || height > kLargestSide)
            return false;
        converter = sws_getCachedContext(converter, width, height,
                                         static_cast<AVPixelFormat>(frame->format), width, height,
                                         AV_PIX_FMT_BGRA, SWS_BICUBIC, nullptr, nullptr, nullptr);
        if (!converter) return false;
        const int pitch32 = width * 4;
        std::vector<uint8_t>& bgra = bytesPerPixel == 4 ? picture.pixels : unpacked;
        bgra.assign(static_cast<size_t>(pitch32) * height + kConversionSlack, 0);
        uint8_t* planes[4] = {bgra.data(), nullptr, nullptr, nullptr};
        const int pitches[4] = {pitch32, 0, 0, 0};
        if (sws_scale(converter, frame->data, frame->linesize, 0, height, planes, pitches) !=
            height)
            return false;

        picture.width = width;
        picture.height = height;
        picture.bytesPerPixel = bytesPerPixel;
        picture.pitch = width * bytesPerPixel;
        if (bytesPerPixel == 3) Pack<3>(bgra);
        if (bytesPerPixel == 2) Pack<2>(bgra);
        return true;
    }

    template <int kBytes>
    void Pack(const std::vector<uint8_t>& bgra) {
        const size_t pixels = static_cast<size_t>(picture.width) * picture.height;
        picture.pixels.resize(pixels * kBytes);
        for (size_t i = 0; i < pixels; ++i)
            WriteDisplayPixel<kBytes>(&picture.pixels[i * kBytes], LoadPixel32(&bgra[i * 4]));
    }
};

VideoReader::VideoReader() = default;
VideoReader::~VideoReader() = default;

VideoReader::OpenResult VideoReader::Open(const std::string& path) {
    Close();
    SilenceLibav();
    auto decoder = std::make_unique<Decoder>();
    if (avformat_open_input(&decoder->format, path.c_str(), nullptr, nullptr) < 0 ||
        avformat_find_stream_info(decoder->format, nullptr) < 0)
        return OpenResult::CannotOpen;
    for (unsigned i = 0; i < decoder->format->nb_streams && !decoder->stream; ++i) {
        AVStream* stream = decoder->format->streams[i];
        if (stream->codecpar->codec_type == AVMEDIA_TYPE_VIDEO &&
            !(stream->disposition & AV_DISPOSITION_ATTACHED_PIC))
            decoder->stream = stream;
    }
    if (!decoder->stream) return OpenResult::NoVideo;
    decoder->frameRate = decoder->stream->avg_frame_rate.num > 0 ? decoder->stream->avg_frame_rate
                                                                 : decoder->stream->r_frame_rate;
    if (!decoder->OpenDecoder()) avcodec_free_context(&decoder->codec);
    decoder_ = std::move(decoder);
    return OpenResult::Opened;
}

void VideoReader::Close() {
    decoder_.reset();
}

bool VideoReader::IsOpen() const {
    return decoder_ != nullptr;
}

bool VideoReader::Fetch(int64_t number, int bytesPerPixel) {
    if (!decoder_ || !decoder_->codec || number < 0) return false;
    Decoder& d = *decoder_;
    if (!d.DecodeFrame(number)) return false;
    if (d.frameNumber == d.pictureNumber && bytesPerPixel == d.picture.bytesPerPixel) return true;
    d.pictureNumber = -1;
    if (!d.Convert(bytesPerPixel)) return false;
    d.pictureNumber = d.frameNumber;
    return true;
}

const VideoPicture& VideoReader::Current() const {
    static const VideoPicture none;
    return decoder_ ? decoder_->picture : none;
}
