<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="zh_CN">
<context>
    <name>AlarmKind</name>
    <message>
        <source>无有效数据</source>
        <translation>No valid data</translation>
    </message>
    <message>
        <source>串口连接已断开</source>
        <translation>Port connection lost</translation>
    </message>
    <message>
        <source>声速超出范围</source>
        <translation>SV out of range</translation>
    </message>
    <message>
        <source>跳变过多</source>
        <translation>Too many spikes</translation>
    </message>
    <message>
        <source>与计算声速相差过大</source>
        <translation>Far from computed SV</translation>
    </message>
    <message>
        <source>数据保存失败</source>
        <translation>Recording failed</translation>
    </message>
    <message>
        <source>串口无法打开</source>
        <translation>Cannot open port</translation>
    </message>
    <message>
        <source>MQTT 代理无法连接</source>
        <translation>MQTT broker unreachable</translation>
    </message>
    <message>
        <source>电脑时钟偏差过大</source>
        <translation>PC clock offset too large</translation>
    </message>
</context>
<context>
    <name>ExportTarget</name>
    <message>
        <source>只能导出到普通文件：%1</source>
        <translation>Can only export to a regular file: %1</translation>
    </message>
</context>
<context>
    <name>FigureText</name>
    <message>
        <source>%1 秒</source>
        <translation>%1 s</translation>
    </message>
</context>
<context>
    <name>FolderAccess</name>
    <message>
        <source>所在文件系统为只读</source>
        <translation>the file system is read-only</translation>
    </message>
    <message>
        <source>没有写入权限</source>
        <translation>no write permission</translation>
    </message>
    <message>
        <source>不是文件夹</source>
        <translation>not a folder</translation>
    </message>
    <message>
        <source>路径中的 %1 不是文件夹</source>
        <translation>%1 in the path is not a folder</translation>
    </message>
    <message>
        <source>无法创建该文件夹：%1</source>
        <translation>cannot create the folder: %1</translation>
    </message>
    <message>
        <source>无法创建该文件夹</source>
        <translation>cannot create the folder</translation>
    </message>
</context>
<context>
    <name>MqttClient</name>
    <message>
        <source>无法创建 MQTT 客户端</source>
        <translation>Cannot create the MQTT client</translation>
    </message>
    <message>
        <source>TLS 设置失败：%1</source>
        <translation>TLS setup failed: %1</translation>
    </message>
    <message>
        <source>无法连接 %1：%2</source>
        <translation>Cannot connect to %1: %2</translation>
    </message>
    <message>
        <source>代理拒绝连接：%1</source>
        <translation>Broker refused the connection: %1</translation>
    </message>
</context>
<context>
    <name>MqttConfig</name>
    <message>
        <source>未填写 MQTT 代理地址</source>
        <translation>No MQTT broker address given</translation>
    </message>
    <message>
        <source>站名不能为空，也不能含有 + # /</source>
        <translation>Station name must not be empty or contain + # /</translation>
    </message>
</context>
<context>
    <name>MqttLink</name>
    <message>
        <source>与代理的连接中断：%1</source>
        <translation>Connection to the broker lost: %1</translation>
    </message>
</context>
<context>
    <name>MqttLinkStatus</name>
    <message>
        <source>未连接</source>
        <translation>not connected</translation>
    </message>
    <message>
        <source>正在连接</source>
        <translation>connecting</translation>
    </message>
    <message>
        <source>已连接</source>
        <translation>connected</translation>
    </message>
    <message>
        <source>连接失败</source>
        <translation>connection failed</translation>
    </message>
</context>
<context>
    <name>NavInput</name>
    <message>
        <source>%1，每秒重试</source>
        <translation>%1; retrying every second</translation>
    </message>
    <message>
        <source>无法监听 UDP 端口 %1（%2）</source>
        <translation>Cannot listen on UDP port %1 (%2)</translation>
    </message>
    <message>
        <source>GNSS 接收机的串口已断开</source>
        <translation>GNSS receiver&apos;s port disconnected</translation>
    </message>
</context>
<context>
    <name>NavSource</name>
    <message>
        <source>导航输入“%1”的格式应为 serial:串口[:波特率] 或 udp:端口</source>
        <translation>Navigation input &quot;%1&quot; should be serial:PORT[:BAUD] or udp:PORT</translation>
    </message>
    <message>
        <source>导航输入的波特率无效：“%1”（可用 1200 到 921600 的标准速率）</source>
        <translation>Invalid navigation input baud rate: &quot;%1&quot; (use a standard rate from 1200 to 921600)</translation>
    </message>
    <message>
        <source>导航输入缺少串口名</source>
        <translation>Navigation input lacks a port name</translation>
    </message>
    <message>
        <source>导航输入的 UDP 端口应为 1 到 65535 之间的整数：“%1”</source>
        <translation>Navigation input UDP port must be a whole number from 1 to 65535: &quot;%1&quot;</translation>
    </message>
</context>
<context>
    <name>OutputConfig</name>
    <message>
        <source>无法识别的输出类型“%1”，应为 udp、tcp 或 serial</source>
        <translation>Unrecognised output type &quot;%1&quot;: use udp, tcp or serial</translation>
    </message>
    <message>
        <source>未知的输出格式“%1”，应为 sv2、sv3、svt、line 或 json</source>
        <translation>Unknown output format &quot;%1&quot;: use sv2, sv3, svt, line or json</translation>
    </message>
    <message>
        <source>串口名为空</source>
        <translation>Serial port name is empty</translation>
    </message>
    <message>
        <source>端口应为 1 到 65535 之间的整数：“%1”</source>
        <translation>Port must be a whole number from 1 to 65535: &quot;%1&quot;</translation>
    </message>
    <message>
        <source>波特率无效：“%1”</source>
        <translation>Invalid baud rate: &quot;%1&quot;</translation>
    </message>
    <message>
        <source>UDP 输出的主机名为空</source>
        <translation>UDP output host name is empty</translation>
    </message>
    <message>
        <source>输出设置“%1”的格式应为 udp:主机:端口[:格式]、tcp:端口[:格式] 或 serial:串口[:波特率[:格式]]</source>
        <translation>Output &quot;%1&quot; should be udp:HOST:PORT[:FORMAT], tcp:PORT[:FORMAT] or serial:PATH[:BAUD[:FORMAT]]</translation>
    </message>
    <message>
        <source>串口参数无效：数据位 %1，校验 %2，停止位 %3</source>
        <translation>Invalid serial settings: data bits %1, parity %2, stop bits %3</translation>
    </message>
    <message>
        <source>未知的输出条件“%1”</source>
        <translation>Unknown output condition &quot;%1&quot;</translation>
    </message>
</context>
<context>
    <name>OutputHub</name>
    <message>
        <source>输出 %1：%2</source>
        <translation>Output %1: %2</translation>
    </message>
    <message>
        <source>串口已关闭</source>
        <translation>port closed</translation>
    </message>
    <message>
        <source>串口已断开</source>
        <translation>port disconnected</translation>
    </message>
    <message>
        <source>尚无读数</source>
        <translation>no readings yet</translation>
    </message>
</context>
<context>
    <name>OutputTransport</name>
    <message>
        <source>未启用</source>
        <translation>Off</translation>
    </message>
    <message>
        <source>发送中</source>
        <translation>Sending</translation>
    </message>
    <message>
        <source>等待中</source>
        <translation>Waiting</translation>
    </message>
    <message>
        <source>错误</source>
        <translation>Error</translation>
    </message>
</context>
<context>
    <name>PortSession</name>
    <message>
        <source>找不到该串口，请检查串口号和设备连接！</source>
        <translation>Port not found: check the port name and the device connection!</translation>
    </message>
    <message>
        <source>没有访问该串口的权限（Linux 下请把用户加入 dialout 组后重新登录）！</source>
        <translation>No permission to open this port (on Linux, add the user to the dialout group and log in again)!</translation>
    </message>
    <message>
        <source>串口已被其他程序占用！</source>
        <translation>The port is in use by another program!</translation>
    </message>
    <message>
        <source>该设备不是串口！</source>
        <translation>This device is not a serial port!</translation>
    </message>
</context>
<context>
    <name>QualityLimits</name>
    <message>
        <source>%1应为不小于 0 的数字：“%2”</source>
        <translation>%1 must be a number of 0 or more: &quot;%2&quot;</translation>
    </message>
    <message>
        <source>范围最小值</source>
        <translation>Range minimum</translation>
    </message>
    <message>
        <source>范围最大值</source>
        <translation>Range maximum</translation>
    </message>
    <message>
        <source>跳变阈值</source>
        <translation>Spike threshold</translation>
    </message>
    <message>
        <source>范围最小值 %1 大于最大值 %2</source>
        <translation>Range minimum %1 is above the maximum %2</translation>
    </message>
    <message>
        <source>跳变阈值应大于 0</source>
        <translation>Spike threshold must be above 0</translation>
    </message>
</context>
<context>
    <name>SerialTransport</name>
    <message>
        <source>串口连接已断开（%1），正在等待设备……</source>
        <translation>Port connection lost (%1); waiting for the device…</translation>
    </message>
    <message>
        <source>串口 %1 已连接</source>
        <translation>Port %1 connected</translation>
    </message>
</context>
<context>
    <name>SettingsFile</name>
    <message>
        <source>设置文件已损坏，能读取的设置已恢复，其余使用默认值</source>
        <translation>The settings file is damaged: the readable settings were restored, the rest are defaults</translation>
    </message>
    <message>
        <source>设置由较新版本的程序保存，能读取的设置已恢复，其余使用默认值</source>
        <translation>The settings were saved by a newer version: the readable settings were restored, the rest are defaults</translation>
    </message>
    <message>
        <source>部分设置无法读取，已使用默认值：%1</source>
        <translation>Some settings could not be read and are defaults: %1</translation>
    </message>
    <message>
        <source>、</source>
        <translation>, </translation>
    </message>
    <message>
        <source>；</source>
        <translation>; </translation>
    </message>
</context>
<context>
    <name>SettingsStore</name>
    <message>
        <source>没有名为“%1”的配置</source>
        <translation>No profile named &quot;%1&quot;</translation>
    </message>
    <message>
        <source>%1（原文件已另存为 %2）</source>
        <translation>%1 (the original file was kept as %2)</translation>
    </message>
    <message>
        <source>无法写入文件 %1</source>
        <translation>Cannot write file %1</translation>
    </message>
    <message>
        <source>配置名称不能为空</source>
        <translation>Profile name must not be empty</translation>
    </message>
    <message>
        <source>无法读取文件 %1</source>
        <translation>Cannot read file %1</translation>
    </message>
    <message>
        <source>%1 不是本程序导出的配置</source>
        <translation>%1 is not a profile exported by this program</translation>
    </message>
    <message>
        <source>无法保存配置“%1”</source>
        <translation>Cannot save profile &quot;%1&quot;</translation>
    </message>
</context>
<context>
    <name>Startup</name>
    <message>
        <source>部分设置未能应用：%1</source>
        <translation>Some settings could not be applied: %1</translation>
    </message>
    <message>
        <source>、</source>
        <translation>, </translation>
    </message>
    <message>
        <source>%1；%2</source>
        <translation>%1; %2</translation>
    </message>
    <message>
        <source>设置</source>
        <translation>Settings</translation>
    </message>
</context>
<context>
    <name>Station</name>
    <message>
        <source>串口连接已断开，配置未完成</source>
        <translation>Port connection lost; configuration not completed</translation>
    </message>
    <message>
        <source>无法在 %1 中开始保存数据（%2），程序照常运行，不保存</source>
        <translation>Cannot start recording in %1 (%2); the program runs on without recording</translation>
    </message>
    <message>
        <source>启动字符串无法识别，未发送：%1</source>
        <translation>Start string not recognised, not sent: %1</translation>
    </message>
    <message>
        <source>启动字符串未能写入串口</source>
        <translation>Start string could not be written to the port</translation>
    </message>
</context>
<context>
    <name>TcpServerTransport</name>
    <message>
        <source>无法在端口 %1 上监听：%2</source>
        <translation>Cannot listen on port %1: %2</translation>
    </message>
    <message>
        <source>TCP 客户端 %1:%2 不再接收数据（积压 %3 KiB），已断开</source>
        <translation>TCP client %1:%2 stopped reading (%3 KiB backlog); disconnected</translation>
    </message>
</context>
<context>
    <name>TrackExport</name>
    <message>
        <source>蓝</source>
        <translation>Blue</translation>
    </message>
    <message>
        <source>青</source>
        <translation>Cyan</translation>
    </message>
    <message>
        <source>绿</source>
        <translation>Green</translation>
    </message>
    <message>
        <source>黄</source>
        <translation>Yellow</translation>
    </message>
    <message>
        <source>橙</source>
        <translation>Orange</translation>
    </message>
    <message>
        <source>红</source>
        <translation>Red</translation>
    </message>
    <message>
        <source>各点按声速着色（m/s），%1 至 %2：</source>
        <translation>Points coloured by sound speed (m/s), %1 to %2:</translation>
    </message>
    <message>
        <source>%1：%2 起</source>
        <translation>%1: from %2</translation>
    </message>
    <message>
        <source>日志中没有带位置的读数，无法导出航迹</source>
        <translation>The log has no readings with a position: no track to export</translation>
    </message>
    <message>
        <source>无法写入 %1：%2</source>
        <translation>Cannot write %1: %2</translation>
    </message>
</context>
<context>
    <name>UdpTransport</name>
    <message>
        <source>正在查找主机 %1</source>
        <translation>Looking up host %1</translation>
    </message>
    <message>
        <source>找不到主机 %1</source>
        <translation>Host %1 not found</translation>
    </message>
</context>
</TS>
