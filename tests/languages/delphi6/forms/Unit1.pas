unit Unit1;

interface

uses
  Windows, Messages, SysUtils, Classes, Graphics, Controls, Forms, Dialogs,
  StdCtrls, Entities;

type
  TCustomer = class(TEntity)
  private
    FName: string;
  public
    constructor Create(AId: Integer; const AName: string);
    function Describe: string; override;
  end;

  TForm1 = class(TForm)
    Button1: TButton;
    Memo1: TMemo;
    procedure Button1Click(Sender: TObject);
    procedure FormCreate(Sender: TObject);
  private
    FCustomer: TCustomer;
    procedure ShowCustomer(Customer: TCustomer);
  end;

var
  Form1: TForm1;

implementation

{$R *.dfm}

procedure Log(const Text: string); forward;

constructor TCustomer.Create(AId: Integer; const AName: string);
begin
  inherited Create(AId);
  FName := AName;
end;

function TCustomer.Describe: string;
begin
  Result := Format('%d %s', [Id, FName]);
end;

procedure TForm1.FormCreate(Sender: TObject);
begin
  FCustomer := TCustomer.Create(1, 'Smith');
  Log('created');
end;

procedure TForm1.Button1Click(Sender: TObject);
var
  I: Integer;
begin
  for I := 1 to EntityCount do
    Memo1.Lines.Add(IntToStr(I));
  FCustomer.Save;
  ShowCustomer(FCustomer);
end;

procedure TForm1.ShowCustomer(Customer: TCustomer);
  procedure Line(const S: string);
  begin
    Memo1.Lines.Add(S);
  end;
begin
  try
    Line(Customer.Describe);
  except
    on E: Exception do
      Log(E.Message);
  end;
end;

procedure Log(const Text: string);
begin
  OutputDebugString(PChar(Text));
end;

initialization
  Log('Unit1 loaded');

end.
