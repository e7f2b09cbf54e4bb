// A threaded test case: two workers run RunThread while the test method
// runs on the calling thread; all three meet at sync points. The workers
// fill a queue that the test checks once everybody has passed point 1.
#include <probex/probex.h>

#include <mutex>
#include <vector>

class CProducerTest : public CProbexThread {
public:
  CProducerTest() {
    PX_CAPTION_CLASS("two producers and one checker");
    SetOppositeCount(2); // two workers, indexes 1 and 2
  }

  // Runs on each worker; never run as a test.
  void RunThread(int index) override {
    {
      std::lock_guard<std::mutex> guard(m_lock);
      m_values.push_back(index);
    }
    PX_SYNC_POINT(1);
  }

  PX_CASE(BothProducersDelivered) {
    PX_CASE_CAPTION("both workers have pushed once they passed point 1");
    PX_SYNC_POINT(1);
    std::lock_guard<std::mutex> guard(m_lock);
    PX_ASSERT_EQUAL(m_values.size(), 2u);
    PX_ASSERT_EQUAL(m_values[0] + m_values[1], 3);
  }
  PX_DECLARATION_END();

private:
  std::mutex m_lock;
  std::vector<int> m_values;
};

int main() {
  CProducerTest test;
  test.Run();
  return PxExitStatus();
}
