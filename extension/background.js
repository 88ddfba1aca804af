// The context-menu entry 墨岚打单: hands the page's address and text to mldd-do,
// which passes them to the running 墨岚打单 window (or starts one).
const api = globalThis.browser ?? globalThis.chrome;
const HOST = "com.molan.mldd";
const MENU_ID = "mldd";
const READ_PAUSES_MS = [200, 500, 1000];
const NOT_FOUND =
  "找不到主程序，软件可能已经被移位或删除，请运行墨岚打单，点设置中的建立右键菜单！";

api.runtime.onInstalled.addListener(() => {
  api.contextMenus.removeAll(() => {
    api.contextMenus.create({
      id: MENU_ID,
      title: "墨岚打单",
      contexts: ["page", "selection", "link", "image", "frame"],
    });
  });
});

function pageOf() {
  return { url: document.URL, text: document.body ? document.body.innerText : "" };
}

function tell(tabId, message) {
  return api.scripting
    .executeScript({ target: { tabId }, func: (text) => alert(text), args: [message] })
    .catch(() => {});
}

// The page's text. The grant that the seller's click gives reaches the page's process on a
// way of its own, and on a busy machine the first reading can come before it: the page is
// read again after a pause, a few times, before the seller is told it cannot be.
async function readPage(tabId) {
  for (const pause of [...READ_PAUSES_MS, null]) {
    try {
      const [injection] = await api.scripting.executeScript({ target: { tabId }, func: pageOf });
      return injection.result;
    } catch (error) {
      if (pause === null) throw error;
      await new Promise((resolve) => setTimeout(resolve, pause));
    }
  }
}

// Reads the tab's top page and sends it; the answer of mldd-do decides what the seller sees.
async function captureTab(tab) {
  let page;
  try {
    page = await readPage(tab.id);
  } catch (error) {
    await tell(tab.id, "这个页面不能提取：" + error.message);
    return { ok: false, message: error.message };
  }
  let answer;
  try {
    answer = await api.runtime.sendNativeMessage(HOST, page);
  } catch (error) {
    answer = { ok: false, message: NOT_FOUND };
  }
  if (!answer || !answer.ok)
    await tell(tab.id, (answer && answer.message) || NOT_FOUND);
  return answer;
}

api.contextMenus.onClicked.addListener((info, tab) => {
  if (info.menuItemId === MENU_ID && tab) captureTab(tab);
});

// The toolbar button (also Alt+Shift+M) does what the context-menu entry does.
api.action.onClicked.addListener((tab) => captureTab(tab));
