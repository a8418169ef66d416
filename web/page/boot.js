// Loaded before the page's other scripts: when one of them cannot be loaded
// (a file missing on the host, a connection cut), or the page does not
// start for another reason, the page says so instead of staying silent.
(function () {
  "use strict";
  var missing = null;
  function tell(text) {
    var status = document.getElementById("status");
    if (!status) return;
    status.textContent = text;
    status.className = "status error";
  }
  window.addEventListener(
    "error",
    function (event) {
      var target = event.target;
      if (target && target.tagName === "SCRIPT" && !missing) {
        missing = target.getAttribute("src");
        tell("页面文件 " + missing + " 无法载入，页面不能使用。请刷新页面，或检查网络后重试。");
      }
    },
    true,
  );
  window.addEventListener("load", function () {
    setTimeout(function () {
      if (missing || document.body.dataset.ready === "true" || document.getElementById("status").textContent) return;
      tell("页面没有启动：请刷新页面；若仍不行，请换用较新的浏览器。");
    }, 10000);
  });
})();
