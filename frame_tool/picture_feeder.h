#pragma once

#include <chrono>
#include <condition_variable>
#include <exception>
#include <memory>
#include <mutex>
#include <thread>

#include "frame_tool/picture_sources.h"
#include "frames/panel_frame.h"
#include "frames/panel_profile.h"
#include "picture/frame_packing.h"
#include "port_stream/refresh_thread.h"

namespace dotwall::frame_tool {

// play's worker: reads, fits, dithers and packs each picture off the refresh thread and hands
// the whole frame to it when the picture's time comes, reckoned from the stream's start (each
// picture is due when the one before it is due plus its time, so an animation keeps its speed
// over any number of loops; a worker late by more than a picture's time starts the reckoning
// again from then, so a slow decode sends no burst). The refresh thread takes it at its next frame
// boundary and never waits for the worker; a frame it has not taken yet is replaced by a newer one
// (dropped).
class PictureFeeder {
  public:
    PictureFeeder(std::unique_ptr<PictureSource> source, const PanelProfile& profile,
                  PictureFitting fitting);
    // Ends the feeding (see close).
    ~PictureFeeder();
    PictureFeeder(const PictureFeeder&) = delete;
    PictureFeeder& operator=(const PictureFeeder&) = delete;

    // The first picture, read and packed on the calling thread, before the port is driven;
    // raises what the source raises, or InvalidPicture for an empty input.
    PanelFrame firstFrame();
    bool firstIsStill() const { return firstIsStill_; }

    // Feeds `refresh`, which streams the first frame from now on (the pictures' times count
    // from here), on a thread of its own.
    // When the source ends, its last picture has been on the panel for its time (at least one
    // whole frame) and `holdLast` is false, it asks the stream to stop after that frame.
    void start(port_stream::RefreshThread& refresh, bool holdLast);
    // Stops handing frames to the refresh thread. The worker is waited for unless it waits
    // for input (a pipe that stays silent); then it is left to end with the program.
    void close();

    // Pictures handed to the refresh thread, the first included, and those of them replaced
    // before any frame of them was sent.
    long handed() const;
    long dropped() const;
    // What the source raised, after which the feeding ended as at the source's end; a stop
    // signal that cut a read short is none.
    std::exception_ptr failure() const;

  private:
    struct Shared;
    static void feed(const std::shared_ptr<Shared>& shared,
                     std::chrono::steady_clock::time_point streamStart,
                     std::chrono::milliseconds firstFor);

    std::shared_ptr<Shared> shared_;
    std::chrono::milliseconds firstFor_{0};
    bool firstIsStill_ = false;
    std::thread worker_;
};

}  // namespace dotwall::frame_tool
