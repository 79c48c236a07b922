#pragma once
// Starting a Tesseract engine loads its models (a noticeable part of a second), so engines
// are kept once started and lent out, one per worker at a time.

#include <memory>
#include <mutex>
#include <vector>

#include "platform/TextRecognizer.h"

namespace tavrino {

class RecognizerPool {
  public:
    class Lease {
      public:
        Lease(RecognizerPool& pool, std::unique_ptr<TextRecognizer> engine)
            : pool_(&pool), engine_(std::move(engine)) {}
        ~Lease() { pool_->giveBack(std::move(engine_)); }
        Lease(const Lease&) = delete;
        Lease& operator=(const Lease&) = delete;
        TextRecognizer& operator*() const { return *engine_; }

      private:
        RecognizerPool* pool_;
        std::unique_ptr<TextRecognizer> engine_;
    };

    // An idle engine, or a new one. Throws TextRecognizer's errors.
    Lease lease();
    // The program's one pool.
    static RecognizerPool& shared();

  private:
    void giveBack(std::unique_ptr<TextRecognizer> engine);
    std::mutex mutex_;
    std::vector<std::unique_ptr<TextRecognizer>> idle_;
};

}  // namespace tavrino
